#pragma once
#include <string>

// What stands at a path. Only "file not found" and "path not found" mean that nothing does: any
// other failure to read the attributes (access refused, a network error, a file pending
// deletion) means the program cannot tell, and nothing may be created or replaced on the
// strength of such an answer.
enum class PathKind { Missing, File, Directory, Unknown };
struct PathState {
    PathKind Kind;
    unsigned long Error;  // the system's error code when Unknown, else 0
};
PathState ExaminePath(const std::wstring& path);

// True when a file (not a directory) certainly exists at Path. For decisions that only read.
bool FileExists(const std::wstring& path);
// True when a directory exists at Path, following directory links, without a critical-error box.
bool DirectoryExistsQuietly(const std::wstring& path);

// A path in the folder that names nothing yet, made from the time of day. A name that cannot be
// examined counts as free: whatever is created there must be created new, so that it fails
// rather than replace something.
std::wstring UniqueFolderName(const std::wstring& folder);
std::wstring UniqueFileName(const std::wstring& folder, const std::wstring& extension);

// A path past MAX_PATH in the extended-length form ("\\?\D:\..." or "\\?\UNC\...") that the
// system's wide calls accept for it; a shorter one as it is.
std::wstring ExtendedLengthPath(const std::wstring& path);

// Where a file's name leads: the path of the file itself, which is the name's own unless the name
// is a symbolic link (told only where the system can tell: Windows Vista and later, where file
// links first came), and how many names (hard links) the file has. A file that cannot be opened
// is taken to be where its name is, with one name.
struct FileLocation {
    std::wstring Path;
    unsigned long Names = 1;
};
FileLocation LocateFile(const std::wstring& path);

// Gives the file at To the access list (DACL) of the file at From, as a replacement of one file by
// the other keeps it on NTFS; false where that could not be done.
bool CopyAccessList(const std::wstring& from, const std::wstring& to);
