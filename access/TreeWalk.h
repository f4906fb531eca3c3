#pragma once
// The walk over a folder tree that the permission repair makes, apart from what it does to each
// object: the start folder first (marked inherited), then depth first each folder before its
// contents, then the start folder again (not marked).
//
// Nobody renaming folders meanwhile can steer it outside the tree. Each folder on the way down
// is held open so that it cannot be renamed, moved or deleted; its entries are listed and opened
// through that handle by their names alone, so that whatever its path has come to lead to, the
// walk stays inside it. An entry is decided on through the handle it is changed through: a link
// is neither entered nor changed, nor is an object that is not what the listing showed under its
// name (a link put there since), nor a file with a second name (which may lie outside the tree).
// The walk keeps its own stack and knows no depth of its own.
#include "access/NativeFiles.h"
#include "access/WalkReport.h"
#include "access/WalkRules.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TreeWalk {
public:
    // One object of the tree as the walk holds it.
    struct Object {
        KernelHandle Handle;
        bool IsFolder = false;
        bool IsLink = false;
        DWORD Links = 1;
        ObjectIdentity Identity;
        std::uint64_t Size = 0;
    };

    virtual ~TreeWalk() = default;
    // Blanks and control characters around Path do not count; a path of nothing else is no tree.
    WalkReport Tree(const std::wstring& path);
    // Told how many objects have been changed, at the start and after each change.
    std::function<void(std::size_t)> OnProgress;

protected:
    // Each answers the system's error code, 0 when it succeeded. The paths name the objects for
    // reports; the objects themselves are reached through handles alone.
    virtual DWORD Grant(const Object& object, const std::wstring& path, bool markInherited) = 0;
    virtual DWORD OpenStart(const std::wstring& path, Object& object);
    virtual DWORD Open(const Object& folder, const FolderEntry& entry, const std::wstring& path, Object& object);
    virtual DWORD List(const Object& folder, const std::wstring& path, std::vector<FolderEntry>& entries);

private:
    struct Frame;
    bool MakeChange(const Object& object, const std::wstring& path, bool markInherited, WalkReport& report);
    bool Enter(Object folder, const std::wstring& path, std::vector<Frame>& stack, WalkReport& report);
    bool Walk(std::vector<Frame>& stack, std::wstring& path, WalkReport& report);

    AncestorChain FAncestors;
    std::uint32_t FVolume = 0;
};
