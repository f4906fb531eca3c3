#pragma once
// Gives the group Everyone read, write, execute and delete rights on a folder tree, for an
// administrator whose folder access test failed. It shows nothing; true when every object changed.
#include "owners/Owners.h"

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

bool RepairFolderAccess(const std::wstring& path);
bool GrantAccessToTree(const std::wstring& path, PSID sid, DWORD accessMask);

// The walk over a tree, apart from what it does to each object: the start folder first (marked
// inherited), then depth first each folder before its contents, then the start folder again (not
// marked). Every object is decided on and changed through one open handle, and the folders on
// the way down stay open without delete sharing, so that none of them can be renamed or replaced
// by a link while the walk is inside. A link is neither entered nor changed, a file with more
// than one name is not changed, and no folder is entered twice. The walk keeps its own stack, so
// a tree of any depth costs memory, never the program's stack.
class TreeWalk {
public:
    struct Entry {
        std::wstring Name;
        DWORD Attributes;
    };
    // One object of the tree as the walk holds it.
    struct Object {
        KernelHandle Handle;
        bool IsFolder = false;
        bool IsLink = false;
        DWORD Links = 1;
        std::uint64_t Volume = 0, Index = 0;
    };

    virtual ~TreeWalk() = default;
    bool Tree(const std::wstring& path);

protected:
    virtual bool Grant(const Object& object, const std::wstring& path, bool markInherited) = 0;
    virtual bool List(const std::wstring& folder, std::vector<Entry>& entries);
    // Opens the object at Path for the change. An entry of a folder (AsEntry) is opened as itself
    // when it is a link, and told as one.
    virtual bool Open(const std::wstring& path, bool asEntry, Object& object);

private:
    struct Frame;
    bool Enter(Object folder, const std::wstring& path, std::vector<Frame>& stack);
    bool Walk(std::vector<Frame>& stack, std::wstring& path);

    std::set<std::pair<std::uint64_t, std::uint64_t>> FVisited;
};
