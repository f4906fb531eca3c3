#pragma once
// Gives the group Everyone read, write, execute and delete rights on a folder tree, for an
// administrator whose folder access test failed. It shows nothing; true when every object changed.
#include "owners/Owners.h"

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

constexpr DWORD RepairAccessMask = 0xE0010000;  // GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | DELETE

// Whether the thread's token, or the process's where the thread has none, lists Administrators
// (also for deny-only use).
bool IsAdministrator();
bool CreateEveryoneSid(SidOwner& sid);
bool RepairFolderAccess(const std::wstring& path);
bool GrantAccessToTree(const std::wstring& path, PSID sid, DWORD accessMask);
bool GrantAccessToObject(const std::wstring& path, PSID sid, DWORD accessMask, bool markInherited);

// The object's access list with every entry for Sid removed and one allow entry for it put first.
// False when the list cannot be read or the new one would not fit the 16-bit size of a list.
bool RewriteAccessList(PACL oldList, PSID sid, DWORD accessMask, bool isFolder, bool markInherited, LocalMemory& newList);

// The walk over a tree, apart from what it does to each object: the start folder first (marked
// inherited), then depth first each folder before its contents, then the start folder again
// (not marked). It never follows a link out of the tree nor enters a folder twice.
class TreeWalk {
public:
    struct Entry {
        std::wstring Name;
        DWORD Attributes;
    };
    virtual ~TreeWalk() = default;
    bool Tree(const std::wstring& path);

protected:
    virtual bool Grant(const std::wstring& path, bool markInherited) = 0;
    virtual bool List(const std::wstring& folder, std::vector<Entry>& entries);
    // The folder's volume and file index, which tell a folder reached twice.
    virtual bool FolderIdentity(const std::wstring& folder, std::uint64_t& volume, std::uint64_t& index);

private:
    bool Contents(const std::wstring& folder);
    std::set<std::pair<std::uint64_t, std::uint64_t>> FVisited;
};

// Paths past MAX_PATH in the extended-length form the system accepts for them.
std::wstring LongPathForm(const std::wstring& path);
