#pragma once
// Gives the group Everyone read, write, execute and delete rights on a folder tree, for an
// administrator whose folder access test failed. It shows nothing; the report tells what was
// changed, what was left alone and where the repair stopped, if it did.
#include "access/TreeWalk.h"

#include <functional>
#include <string>

// Progress is told the count of objects changed so far, at the start and after each change.
WalkReport RepairFolderAccess(const std::wstring& path, std::function<void(std::size_t)> progress = nullptr);
