#include "tests/windows/TestSupport.h"

#include "files/TimeOfDayStamp.h"
#include "tests/windows/fakes/TestSeams.h"
#include "validation/Components.h"
bool HasFocus(HWND control)
{
    const HWND focus = GetFocus();
    return focus && (focus == control || IsChild(control, focus));
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c);
    return out;
}

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    FPath = std::wstring(temp) + L"iplist-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    RemoveTree(FPath);
    CreateDirectoryW(FPath.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(FPath);
}

void RemoveTree(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(listing, &entry));
        FindClose(listing);
    }
    RemoveDirectoryW(path.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int FileCountIn(const std::wstring& folder)
{
    int count = 0;
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            ++count;
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return count;
}

HeldOpen::HeldOpen(const std::wstring& path)
    : FHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
{
    EXPECT_NE(FHandle, INVALID_HANDLE_VALUE) << "could not hold " << Narrow(path);
}

void HeldOpen::Release()
{
    if (FHandle != INVALID_HANDLE_VALUE)
        CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
}

void SeamTest::SetUp()
{
    TestSeams::Reset();
}

void LayOutComponents(const std::wstring& folder)
{
    for (const std::wstring& component : RequiredComponents()) {
        const std::size_t separator = component.find_last_of(L'\\');
        if (separator != std::wstring::npos)
            CreateDirectoryW((folder + L"\\" + component.substr(0, separator)).c_str(), nullptr);
        if (lstrcmpiW(component.c_str(), ReleaseFileName) != 0)
            WriteBytes(folder + L"\\" + component, "component");
    }
    WriteBytes(folder + L"\\" + ReleaseFileName, "131\r\n");
}

InstallFolder::InstallFolder()
{
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    FPreviousDirectory = previous;
    LayOutComponents(FFolder.Path());
    SetCurrentDirectoryW(FFolder.Path().c_str());
}

InstallFolder::~InstallFolder()
{
    SetCurrentDirectoryW(FPreviousDirectory.c_str());
}
