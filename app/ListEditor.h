#pragma once
// What the address list window does, without the window: the entries, which of them the last
// command selected, whether there are unsaved changes, the states of Delete and Apply, and what
// each command does to them and asks of the file. The dialog feeds it the user's commands and
// shows what it holds; it needs no system, so it is tested natively.
#include "app/Entries.h"

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

class ListEditor {
public:
    // Whether an entry is the address being added, as the list box's own exact search tells it:
    // the whole text, ignoring letter case.
    using SameEntry = bool (*)(std::wstring_view entry, std::wstring_view address);
    explicit ListEditor(SameEntry sameEntry) : FSameEntry(sameEntry) {}

    const Entries& Items() const { return FItems; }
    // The entries the last command selected.
    const std::vector<std::size_t>& Selection() const { return FSelection; }
    bool Modified() const { return FModified; }
    bool DeleteEnabled() const { return FDeleteEnabled; }
    bool ApplyEnabled() const { return FApplyEnabled; }

    // The start-up read the list whole, in file order.
    void Load(Entries entries);
    // The start-up ended without a list: nothing may save, since saving would replace the file.
    void LoadFailed();

    // An accepted address goes before the first entry it sorts before in natural order.
    AddResult Add(const Octets& octets);
    // Delete answered Yes, with these entries selected in the window.
    void Delete(std::vector<std::size_t> selected);
    // The entries that the last Delete removed, in ascending order.
    const std::vector<std::size_t>& Removed() const { return FRemoved; }

    Request Apply() const;
    Request Ok() const;
    Request Cancel() const;
    EscapePresses Escape() const;
    // What ends a save: either way the busy state has enabled every control.
    void Saved();
    void SaveFailed();

private:
    SameEntry FSameEntry;
    Entries FItems;
    std::vector<std::size_t> FSelection;
    std::vector<std::size_t> FRemoved;
    bool FLoaded = false;
    bool FModified = false;
    bool FDeleteEnabled = false;
    bool FApplyEnabled = false;
};
