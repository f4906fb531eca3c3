#pragma once
// Scratch folders and file helpers for the tests that run under Windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

// A fresh folder in the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::wstring& Path() const { return FPath; }
    std::wstring operator/(const std::wstring& name) const { return FPath + L"\\" + name; }

private:
    std::wstring FPath;
};

void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
int FileCountIn(const std::wstring& folder);

// Holds a file open for reading and writing without sharing it, as another program might.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path);
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen() { Release(); }
    void Release();

private:
    HANDLE FHandle;
};

// Whether the keyboard focus is in the control or one of its inner windows.
bool HasFocus(HWND control);

// Every test starts with empty records in the fake pause and message box.
class SeamTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// The product's components in Folder, at release level 131.
void LayOutComponents(const std::wstring& folder);

// A folder that passes every installation check, made the current directory for the test's span.
class InstallFolder {
public:
    InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;
    ~InstallFolder();
    const std::wstring& Path() const { return FFolder.Path(); }
    std::wstring operator/(const std::wstring& name) const { return FFolder / name; }

private:
    ScratchFolder FFolder;
    std::wstring FPreviousDirectory;
};
