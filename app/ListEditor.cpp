#include "app/ListEditor.h"

#include "text/NaturalCompare.h"

#include <algorithm>

std::wstring AddressString(const Octets& octets)
{
    return std::to_wstring(octets.A) + L"." + std::to_wstring(octets.B) + L"." + std::to_wstring(octets.C) + L"." +
           std::to_wstring(octets.D);
}

void ListEditor::Load(Entries entries)
{
    FItems = std::move(entries);
    FLoaded = true;
    FModified = false;
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
    if (std::any_of(FItems.begin(), FItems.end(), [&](const std::wstring& entry) { return FSameEntry(entry, address); }))
        return AddResult::AlreadyListed;
    // The list is never sorted as a whole: the new entry goes before the first one, counted from
    // the top, that it sorts before, whatever order the loaded entries stand in.
    const auto before = std::find_if(FItems.begin(), FItems.end(),
                                     [&](const std::wstring& entry) { return NaturalCompare(address, entry, false) < 0; });
    const std::size_t index = static_cast<std::size_t>(before - FItems.begin());
    FItems.insert(before, address);
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

void ListEditor::Saved()
{
    FModified = false;
    FDeleteEnabled = true;
    FApplyEnabled = false;
}

void ListEditor::SaveFailed()
{
    FDeleteEnabled = true;
    FApplyEnabled = true;
}
