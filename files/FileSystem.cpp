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

PathState ExaminePath(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return {(attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File, 0};
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {PathKind::Missing, 0};
    return {PathKind::Unknown, error};
}

bool FileExists(const std::wstring& path)
{
    return ExaminePath(path).Kind == PathKind::File;
}

bool DirectoryExistsQuietly(const std::wstring& path)
{
    const ErrorModeOwner restore(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return LinkTargetIsDirectory(path);
    return true;
}

// A name whose attributes cannot be read for another reason than "not found" counts as free:
// creating it new will then fail and say why, where waiting for the clock could go on for ever.
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
        if (ExaminePath(path).Kind != PathKind::File)
            return path;
    }
}

std::wstring ExtendedLengthPath(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}
