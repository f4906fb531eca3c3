#include "validation/PermissionRepair.h"

#include "toolkit/Application.h"
#include "validation/AccessList.h"

#include <algorithm>

namespace {

bool Skipped(const TreeWalk::Entry& entry)
{
    return entry.Name.empty() || entry.Name[0] == L'.';
}

// Whether the entry at Path lists as a link in its folder. The folder is asked with a wildcard
// in place of the name's last character, since Wine looks up an exact name as the object it
// leads to (a link's target) and reads the folder's own entries only for a wildcard.
bool ListsAsLink(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L'\\');
    if (separator == std::wstring::npos || separator + 1 == path.size())
        return false;
    const std::wstring name = path.substr(separator + 1);
    WIN32_FIND_DATAW found;
    const FindHandle listing(FindFirstFileW(LongPathForm(path.substr(0, path.size() - 1) + L"?").c_str(), &found));
    if (!listing.Valid())
        return true;  // the entry is gone: nothing may be changed in its name
    do  // the name is the listing's own, letter for letter
        if (name == found.cFileName)
            return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    while (FindNextFileW(listing, &found));
    return true;
}

}  // namespace

// A folder being walked: held open, its listing, and where the walk stands in it.
struct TreeWalk::Frame {
    Object Folder;
    std::vector<Entry> Entries;
    std::size_t Next;
    std::size_t PathLength;
};

bool TreeWalk::List(const std::wstring& folder, std::vector<Entry>& entries)
{
    WIN32_FIND_DATAW found;
    const FindHandle listing(FindFirstFileW(LongPathForm(folder + L"\\*.*").c_str(), &found));
    if (!listing.Valid())
        return true;  // nothing listed, nothing to change
    do
        entries.push_back({found.cFileName, found.dwFileAttributes});
    while (FindNextFileW(listing, &found));
    return true;
}

bool TreeWalk::Open(const std::wstring& path, bool asEntry, Object& object)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (asEntry ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    object.Handle.Reset(CreateFileW(LongPathForm(path).c_str(), READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!object.Handle.Valid() || !GetFileInformationByHandle(object.Handle, &information))
        return false;
    object.IsFolder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    object.IsLink = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    object.Links = information.nNumberOfLinks;
    object.Volume = information.dwVolumeSerialNumber;
    object.Index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    // Windows opens a link as itself here, and its handle tells. Wine opens the link's target all
    // the same, and only the folder's listing shows a link there: so a folder's entry is listed
    // once more, now that it is open.
    if (asEntry && object.IsFolder && !object.IsLink)
        object.IsLink = ListsAsLink(path);
    return true;
}

// Changes a folder (marked inherited) and makes it the walk's current one; a folder reached a
// second time under another name has been changed already and is left.
bool TreeWalk::Enter(Object folder, const std::wstring& path, std::vector<Frame>& stack)
{
    if (!FVisited.insert(std::make_pair(folder.Volume, folder.Index)).second)
        return true;
    if (!Grant(folder, path, true))
        return false;
    Frame frame{std::move(folder), {}, 0, path.size()};
    List(path, frame.Entries);
    stack.push_back(std::move(frame));
    return true;
}

// Walks everything below the folder at the bottom of the stack, which stays there, open.
bool TreeWalk::Walk(std::vector<Frame>& stack, std::wstring& path)
{
    for (;;) {
        Frame& current = stack.back();
        if (current.Next == current.Entries.size()) {
            if (stack.size() == 1)
                return true;
            stack.pop_back();
            continue;
        }
        const Entry& entry = current.Entries[current.Next++];
        // A link leads out of the tree, or back into it: its target is not ours to change.
        if (Skipped(entry) || (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        path.resize(current.PathLength);
        path += L"\\";
        path += entry.Name;
        Object object;
        if (!Open(path, true, object))
            return false;
        if (object.IsLink)
            continue;
        if (object.IsFolder) {
            Application::ProcessMessages();
            if (!Enter(std::move(object), path, stack))
                return false;
            continue;
        }
        // A file with another name may have it outside the tree, and shares its access list.
        if (object.Links > 1)
            continue;
        if (!Grant(object, path, true))
            return false;
    }
}

bool TreeWalk::Tree(const std::wstring& path)
{
    const auto blank = [](wchar_t c) { return c <= L' '; };
    const auto first = std::find_if_not(path.begin(), path.end(), blank);
    const auto last = std::find_if_not(path.rbegin(), path.rend(), blank).base();
    if (first >= last)
        return false;
    std::wstring trimmed(first, last);
    Object start;
    if (!Open(trimmed, false, start))
        return false;
    if (!start.IsFolder)
        return Grant(start, trimmed, false);
    if (trimmed.back() == L'\\')
        trimmed.pop_back();
    Application::ProcessMessages();
    FVisited.clear();
    std::vector<Frame> stack;
    std::wstring walked = trimmed;
    return Enter(std::move(start), walked, stack) && Walk(stack, walked) && Grant(stack.front().Folder, trimmed, false);
}

bool GrantAccessToTree(const std::wstring& path, PSID sid, DWORD accessMask)
{
    class SecurityWalk : public TreeWalk {
    public:
        SecurityWalk(PSID sid, DWORD mask) : FSid(sid), FMask(mask) {}

    protected:
        bool Grant(const Object& object, const std::wstring&, bool markInherited) override
        {
            return GrantAccessToHandle(object.Handle, object.IsFolder, FSid, FMask, markInherited);
        }

    private:
        PSID FSid;
        DWORD FMask;
    };
    SecurityWalk walk(sid, accessMask);
    return walk.Tree(path);
}

bool RepairFolderAccess(const std::wstring& path)
{
    SidOwner everyone;
    if (!CreateEveryoneSid(everyone))
        return false;
    return GrantAccessToTree(path, everyone, RepairAccessMask);
}
