#include "access/TreeWalk.h"

#include "files/FileSystem.h"

#include <algorithm>

namespace {

// Entries whose names begin with "." are not the product's and are left as they are.
bool Skipped(const FolderEntry& entry)
{
    return entry.Name.empty() || entry.Name[0] == L'.';
}

// What the object is, told by its own handle; its volume is the start's, since a walk that
// enters no link never leaves the start's volume.
DWORD Describe(TreeWalk::Object& object, std::uint32_t volume)
{
    ObjectFacts facts;
    if (const DWORD error = QueryObject(object.Handle, facts))
        return error;
    object.IsFolder = (facts.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    object.IsLink = (facts.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    object.Links = facts.Links;
    object.Identity = ObjectIdentity{volume, facts.Index, facts.Created};
    object.Size = facts.Size;
    return 0;
}

bool Stop(WalkReport& report, const std::wstring& path, DWORD error)
{
    report.StoppedAt = path;
    report.Error = error;
    return false;
}

}  // namespace

// A folder being walked: held open, its listing, and where the walk stands in it.
struct TreeWalk::Frame {
    Object Folder;
    std::vector<FolderEntry> Entries;
    std::size_t Next;
    std::size_t PathLength;
};

// The start is the folder the user runs the program in, reached by its path like any folder the
// user names; a file held open elsewhere is opened without asking for its content.
DWORD TreeWalk::OpenStart(const std::wstring& path, Object& object)
{
    for (const DWORD access : {HeldFolderAccess, ChangedFileAccess}) {
        object.Handle.Reset(CreateFileW(ExtendedLengthPath(path).c_str(), access, HeldShareMode, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (object.Handle.Valid()) {
            BY_HANDLE_FILE_INFORMATION information;
            FVolume = GetFileInformationByHandle(object.Handle, &information) ? information.dwVolumeSerialNumber : 0;
            return Describe(object, FVolume);
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            break;
    }
    return GetLastError();
}

DWORD TreeWalk::Open(const Object& folder, const FolderEntry& entry, const std::wstring&, Object& object)
{
    if (const DWORD error = OpenInFolder(folder.Handle, entry.Name, (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                         object.Handle))
        return error;
    return Describe(object, FVolume);
}

DWORD TreeWalk::List(const Object& folder, const std::wstring&, std::vector<FolderEntry>& entries)
{
    return ListFolder(folder.Handle, entries);
}

bool TreeWalk::MakeChange(const Object& object, const std::wstring& path, bool markInherited, WalkReport& report)
{
    if (const DWORD error = Grant(object, path, markInherited))
        return Stop(report, path, error);
    ++report.Changed;
    if (OnProgress)
        OnProgress(report.Changed);
    return true;
}

bool TreeWalk::Enter(Object folder, const std::wstring& path, std::vector<Frame>& stack, WalkReport& report)
{
    if (!MakeChange(folder, path, true, report))
        return false;
    Frame frame{std::move(folder), {}, 0, path.size()};
    if (const DWORD error = List(frame.Folder, path, frame.Entries))
        return Stop(report, path, error);
    FAncestors.Enter(frame.Folder.Identity);
    stack.push_back(std::move(frame));
    return true;
}

// Walks everything below the folder at the bottom of the stack, which stays there, open.
bool TreeWalk::Walk(std::vector<Frame>& stack, std::wstring& path, WalkReport& report)
{
    while (stack.size() > 1 || stack.back().Next < stack.back().Entries.size()) {
        Frame& current = stack.back();
        if (current.Next == current.Entries.size()) {
            FAncestors.Leave(current.Folder.Identity);
            stack.pop_back();
            continue;
        }
        const FolderEntry& entry = current.Entries[current.Next++];
        if (Skipped(entry))
            continue;
        path.resize(current.PathLength);
        path += L"\\";
        path += entry.Name;
        // A link leads out of the tree, or back into it: its target is not ours to change.
        if (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            ++report.LinksLeft;
            continue;
        }
        Object object;
        const DWORD error = Open(current.Folder, entry, path, object);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            continue;  // gone since the listing: nothing left to change
        if (error)
            return Stop(report, path, error);
        if (object.IsLink) {
            ++report.LinksLeft;
            continue;
        }
        if (!OpenedAsListed({entry.Id, entry.Size}, {object.Identity.Index, object.Size, object.IsFolder})) {
            ++report.NotAsListed;
            continue;
        }
        if (object.IsFolder) {
            if (FAncestors.Contains(object.Identity)) {
                ++report.LinksLeft;
                continue;
            }
            if (!Enter(std::move(object), path, stack, report))
                return false;
            continue;
        }
        // A file with another name may have it outside the tree, and shares its access list.
        if (object.Links > 1) {
            ++report.SecondNames;
            continue;
        }
        if (!MakeChange(object, path, true, report))
            return false;
    }
    return true;
}

WalkReport TreeWalk::Tree(const std::wstring& path)
{
    WalkReport report;
    const auto blank = [](wchar_t c) { return c <= L' '; };
    const auto first = std::find_if_not(path.begin(), path.end(), blank);
    const auto last = std::find_if_not(path.rbegin(), path.rend(), blank).base();
    if (first >= last) {
        Stop(report, path, ERROR_INVALID_NAME);
        return report;
    }
    std::wstring start(first, last);
    if (OnProgress)
        OnProgress(0);
    Object object;
    if (const DWORD error = OpenStart(start, object)) {
        Stop(report, start, error);
        return report;
    }
    if (!object.IsFolder) {
        report.Complete = MakeChange(object, start, false, report);
        return report;
    }
    if (start.back() == L'\\')
        start.pop_back();
    FAncestors = AncestorChain();
    std::vector<Frame> stack;
    std::wstring walked = start;
    report.Complete = Enter(std::move(object), walked, stack, report) && Walk(stack, walked, report) &&
                      MakeChange(stack.front().Folder, start, false, report);
    return report;
}
