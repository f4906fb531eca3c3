#include "files/FileSystem.h"

#include "files/TimeOfDayStamp.h"
#include "owners/Owners.h"

#include <windows.h>

namespace {

bool LinkTargetIsDirectory(const std::wstring& path)
{
    KernelHandle target(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    return target.Valid() && GetFileInformationByHandle(target, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

unsigned short SuppressCriticalErrorBoxes()
{
    return static_cast<unsigned short>(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

void RestoreErrorMode(unsigned short mode)
{
    SetErrorMode(mode);
}

bool DirectoryExistsQuietly(const std::wstring& path)
{
    const ErrorModeOwner restore(SuppressCriticalErrorBoxes());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return LinkTargetIsDirectory(path);
    return true;
}

// A name whose attributes cannot be read for another reason than "not found" counts as free:
// creating it will then fail and say why, where waiting for the clock could go on for ever.
std::wstring UniqueFolderName(const std::wstring& folder)
{
    for (;;) {
        std::wstring path = folder + L"\\" + TimeOfDayStamp();
        if (!DirectoryExistsQuietly(path))
            return path;
    }
}

std::wstring UniqueFileName(const std::wstring& folder, const std::wstring& extension)
{
    for (;;) {
        std::wstring path = folder + L"\\" + TimeOfDayStamp() + extension;
        if (!FileExists(path))
            return path;
    }
}
