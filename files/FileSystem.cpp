#include "files/FileSystem.h"

#include "files/TimeOfDayStamp.h"
#include "owners/Owners.h"

#include <windows.h>

#include <vector>

namespace {

const DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// An object opened for its attributes or its access list alone, which takes no part in share checks.
KernelHandle OpenForQuery(const std::wstring& path, DWORD access)
{
    return KernelHandle(
        CreateFileW(ExtendedLengthPath(path).c_str(), access, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path the system resolves an open object to, links followed; empty where it cannot tell
// (before Vista, whose kernel32 lacks the call, which is therefore looked up at run time).
std::wstring FinalPath(HANDLE object)
{
    using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto call = reinterpret_cast<FinalPathCall>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "GetFinalPathNameByHandleW") : nullptr));
    if (!call)
        return std::wstring();
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = call(object, &path[0], static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length + 1);
        length = call(object, &path[0], static_cast<DWORD>(path.size()), 0);
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool LinkTargetIsDirectory(const std::wstring& path)
{
    const KernelHandle target = OpenForQuery(path, 0);
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

// A name is a link where the file it opens does not lie in the name's folder under that name,
// both resolved alike (a mapped drive, a network share or a folder link leads to the same form).
FileLocation LocateFile(const std::wstring& path)
{
    FileLocation where{path, 1};
    const KernelHandle file = OpenForQuery(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.Valid() || !GetFileInformationByHandle(file, &info))
        return where;
    where.Names = info.nNumberOfLinks;
    const std::wstring final = FinalPath(file);
    const std::size_t slash = path.find_last_of(L'\\');
    if (final.empty() || slash == std::wstring::npos)
        return where;
    const KernelHandle folder = OpenForQuery(path.substr(0, slash), FILE_READ_ATTRIBUTES);
    const std::wstring folderFinal = folder.Valid() ? FinalPath(folder) : std::wstring();
    if (folderFinal.empty() || !SamePathIgnoringCase(folderFinal + path.substr(slash), final))
        where.Path = final;
    return where;
}

bool CopyAccessList(const std::wstring& from, const std::wstring& to)
{
    const KernelHandle source = OpenForQuery(from, READ_CONTROL);
    DWORD needed = 0;
    if (!source.Valid())
        return false;
    GetKernelObjectSecurity(source, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<BYTE> descriptor(needed);
    if (needed == 0 || !GetKernelObjectSecurity(source, DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        return false;
    const KernelHandle target = OpenForQuery(to, WRITE_DAC);
    return target.Valid() && SetKernelObjectSecurity(target, DACL_SECURITY_INFORMATION, descriptor.data());
}
