#include "app/ListEditor.h"

#include "text/NaturalCompare.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// The list is never sorted as a whole: a new entry goes before the first one, counted from the
// top, that it sorts before, whatever order the other entries stand in.
std::size_t NaturalPlace(const Entries& entries, const std::wstring& text)
{
    const auto before = std::find_if(entries.begin(), entries.end(),
                                     [&](const Entry& entry) { return NaturalCompare(text, entry.Text, false) < 0; });
    return static_cast<std::size_t>(before - entries.begin());
}

bool Holds(const Entries& entries, const std::wstring& address, SameEntry sameEntry)
{
    return std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) { return sameEntry(entry.Text, address); });
}

}  // namespace

std::wstring AddressString(const Octets& octets)
{
    return std::to_wstring(octets.A) + L"." + std::to_wstring(octets.B) + L"." + std::to_wstring(octets.C) + L"." +
           std::to_wstring(octets.D);
}

Entries MergeEdits(const Entries& base, const Entries& ours, const Entries& theirs, SameEntry sameEntry)
{
    // Ours against the base, per occurrence: what is left over on either side are the edits.
    std::map<std::pair<std::wstring, std::string>, std::size_t> deleted;
    for (const Entry& entry : base)
        ++deleted[{entry.Text, entry.Original}];
    // Takes one occurrence of Entry off the deleted ones; false when none is left.
    const auto takeDeleted = [&](const Entry& entry) {
        const auto found = deleted.find({entry.Text, entry.Original});
        if (found == deleted.end() || found->second == 0)
            return false;
        --found->second;
        return true;
    };
    Entries added;
    for (const Entry& entry : ours)
        if (!takeDeleted(entry))
            added.push_back(entry);
    Entries merged;
    merged.reserve(theirs.size() + added.size());
    for (const Entry& entry : theirs)
        if (!takeDeleted(entry))
            merged.push_back(entry);
    for (const Entry& entry : added)
        if (!Holds(merged, entry.Text, sameEntry))
            merged.insert(merged.begin() + static_cast<std::ptrdiff_t>(NaturalPlace(merged, entry.Text)), entry);
    return merged;
}

void ListEditor::Load(ListFile file)
{
    FItems = std::move(file.Lines);
    FBaseState = std::move(file.State);
    FFrame = std::move(file.Frame);
    FLoaded = true;
    FModified = false;
    SelectAsAfterALoad();
}

void ListEditor::Merge(const Entries& base, const ListFile& now)
{
    FItems = MergeEdits(base, FItems, now.Lines, FSameEntry);
    FBaseState = now.State;
    FFrame = now.Frame;
    SelectAsAfterALoad();
}

void ListEditor::SelectAsAfterALoad()
{
    FSelection.assign(FItems.empty() ? 0 : 1, 0);
    FDeleteEnabled = !FItems.empty();
    FApplyEnabled = false;
}

void ListEditor::LoadFailed()
{
    FItems.clear();
    FSelection.clear();
    FLoaded = false;
    FDeleteEnabled = false;
    FApplyEnabled = false;
}

AddResult ListEditor::Add(const Octets& octets)
{
    if (octets.A == 0 && octets.B == 0 && octets.C == 0 && octets.D == 0)
        return AddResult::AllZeros;
    const std::wstring address = AddressString(octets);
    if (Holds(FItems, address, FSameEntry))
        return AddResult::AlreadyListed;
    const std::size_t index = NaturalPlace(FItems, address);
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(index), Entry{address, {}});
    FSelection.assign(1, index);
    FModified = true;
    // Only a list that was read whole may lead to a save.
    FApplyEnabled = FLoaded;
    FDeleteEnabled = FLoaded;
    return AddResult::Added;
}

void ListEditor::Delete(std::vector<std::size_t> selected)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.erase(std::remove_if(selected.begin(), selected.end(), [&](std::size_t index) { return index >= FItems.size(); }),
                   selected.end());
    std::size_t kept = selected.empty() ? FItems.size() : selected.front();
    auto next = selected.begin();
    for (std::size_t i = kept; i < FItems.size(); ++i) {
        if (next != selected.end() && *next == i)
            ++next;
        else
            FItems[kept++] = std::move(FItems[i]);
    }
    FItems.resize(kept);
    FRemoved = std::move(selected);
    FSelection.assign(FItems.empty() ? 0 : 1, 0);
    if (FItems.empty())
        FDeleteEnabled = false;
    // A confirmed Delete counts as a change even when nothing was selected.
    FModified = true;
    FApplyEnabled = FLoaded;
}

Request ListEditor::Apply() const
{
    return FLoaded ? Request::Save : Request::RefuseUnread;
}

Request ListEditor::Ok() const
{
    if (!FModified)
        return Request::Close;
    return FLoaded ? Request::SaveThenClose : Request::RefuseUnread;
}

Request ListEditor::Cancel() const
{
    return FModified ? Request::AskThenClose : Request::Close;
}

EscapePresses ListEditor::Escape() const
{
    return FDeleteEnabled ? EscapePresses::Delete : EscapePresses::Cancel;
}

void ListEditor::Saved(ListFileState written)
{
    FBaseState = std::move(written);
    FModified = false;
    FDeleteEnabled = true;
    FApplyEnabled = false;
}

void ListEditor::SaveFailed()
{
    FDeleteEnabled = true;
    FApplyEnabled = true;
}
