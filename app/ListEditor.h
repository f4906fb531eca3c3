#pragma once
// What the address list window does, without the window: the entries, which of them the last
// command selected, whether there are unsaved changes, the states of Delete and Apply, and what
// each command does to them and asks of the file. The dialog feeds it the user's commands and
// shows what it holds; it needs no system, so it is tested natively.
#include "app/ListFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Octets {
    std::uint8_t A, B, C, D;
};

// The four octets in decimal without leading zeros, joined by ".".
std::wstring AddressString(const Octets& octets);

enum class AddResult { Added, AllZeros, AlreadyListed };

// What OK, Apply and Cancel ask of the window.
enum class Request { Close, Save, SaveThenClose, AskThenClose, RefuseUnread };

enum class EscapePresses { Delete, Cancel };

// Whether an entry is the address being added, as the list box's own exact search tells it: the
// whole text, ignoring letter case.
using SameEntry = bool (*)(std::wstring_view entry, std::wstring_view address);

// Where another program or workstation changed the file after the window read or wrote it: the
// window's own edits since then (the addresses it added and the entries it deleted, counted per
// occurrence) applied to the file's list as it is now. An added address goes before the first
// entry that it sorts before, as Add places it, unless the list holds it already; a deleted entry
// goes where the list still holds it. Everything else keeps the file's text and order.
Entries MergeEdits(const Entries& base, const Entries& ours, const Entries& theirs, SameEntry sameEntry);

class ListEditor {
public:
    explicit ListEditor(SameEntry sameEntry) : FSameEntry(sameEntry) {}

    const Entries& Items() const { return FItems; }
    // The entries the last command selected.
    const std::vector<std::size_t>& Selection() const { return FSelection; }
    bool Modified() const { return FModified; }
    bool DeleteEnabled() const { return FDeleteEnabled; }
    bool ApplyEnabled() const { return FApplyEnabled; }

    // The start-up read the list whole.
    void Load(ListFile file);
    // The start-up ended without a list: nothing may save, since saving would replace the file.
    void LoadFailed();

    // An accepted address goes before the first entry it sorts before in natural order.
    AddResult Add(const Octets& octets);
    // Delete answered Yes, with these entries selected in the window.
    void Delete(std::vector<std::size_t> selected);
    // The entries that the last Delete removed, in ascending order.
    const std::vector<std::size_t>& Removed() const { return FRemoved; }

    // What a save writes around the entries: the file's encoding, and what follows its lines.
    const ListFrame& Frame() const { return FFrame; }
    // The file as the window last read or wrote it, and whether it is so now.
    const ListFileState& BaseState() const { return FBaseState; }
    bool FileUnchanged(const ListFileState& now) const { return now == FBaseState; }
    // The question was answered Yes: the window's edits since Base (the list BaseState holds)
    // applied to the file as it is now, with the selection and the buttons as after a load, for
    // the save that follows. Base is read from the bytes only now, where it is needed: a list
    // kept beside the entries all along would double the memory of a long one.
    void Merge(const Entries& base, const ListFile& now);

    Request Apply() const;
    Request Ok() const;
    Request Cancel() const;
    EscapePresses Escape() const;
    // What ends a save: either way the busy state has enabled every control.
    void Saved(ListFileState written);
    void SaveFailed();

private:
    // The first entry selected, Delete enabled where there is one, Apply disabled.
    void SelectAsAfterALoad();

    SameEntry FSameEntry;
    Entries FItems;
    // The file as the window last read or wrote it.
    ListFileState FBaseState;
    ListFrame FFrame;
    std::vector<std::size_t> FSelection;
    std::vector<std::size_t> FRemoved;
    bool FLoaded = false;
    bool FModified = false;
    bool FDeleteEnabled = false;
    bool FApplyEnabled = false;
};
