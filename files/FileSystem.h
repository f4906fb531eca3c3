#pragma once
#include <string>

// True when a file (not a directory) exists at Path.
bool FileExists(const std::wstring& path);
// True when a directory exists at Path, following directory links, without a critical-error box.
bool DirectoryExistsQuietly(const std::wstring& path);
unsigned short SuppressCriticalErrorBoxes();
void RestoreErrorMode(unsigned short mode);

// A path in the folder that names nothing yet, made from the time of day.
std::wstring UniqueFolderName(const std::wstring& folder);
std::wstring UniqueFileName(const std::wstring& folder, const std::wstring& extension);
