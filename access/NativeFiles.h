#pragma once
// Opening and listing what a folder holds through the folder's own open handle, by names alone:
// a name is looked up inside the folder the handle holds, whatever the folder's path has come to
// lead to since it was opened. Win32 offers this only through the native calls of ntdll.
#include "owners/Owners.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A folder held this way takes part in share checks (it is open for listing) and shares no
// deletion, so that nobody can rename, move or delete it while it is held. It may change access
// lists (WRITE_DAC), and is opened synchronously, as the listing calls need.
constexpr DWORD HeldFolderAccess =
    READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;
// A file asks for no data access, so that it opens whoever else holds it open.
constexpr DWORD ChangedFileAccess = READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr DWORD HeldShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;

struct FolderEntry {
    std::wstring Name;
    DWORD Attributes = 0;
    std::uint64_t Id = 0;  // 0 where the file system lists no identities (Windows 2000 lists none)
    std::uint64_t Size = 0;
};

// What an object is, as its own handle tells.
struct ObjectFacts {
    DWORD Attributes = 0;
    DWORD Links = 1;
    std::uint64_t Index = 0;  // 0 where the file system gives none
    std::uint64_t Created = 0;
    std::uint64_t Size = 0;
};

// Opens Name in the folder held at Folder without following a link at that name, where the
// system can tell a link; a name listed as a folder is opened as one, with the held folder's
// access, and a file with ChangedFileAccess, whichever it turns out to be. Answers the system's
// error code, 0 when it opened.
DWORD OpenInFolder(HANDLE folder, const std::wstring& name, bool listedAsFolder, KernelHandle& object);
// Asks the handle alone, as a walk below the deepest path the system can name must: there Wine
// answers these questions of a handle, though not GetFileInformationByHandle's volume question.
DWORD QueryObject(HANDLE object, ObjectFacts& facts);
// Every entry of the folder held at Folder, "." and ".." included. Answers the system's error code.
DWORD ListFolder(HANDLE folder, std::vector<FolderEntry>& entries);
