#include "app/ListBoxView.h"

#include "errors/Exception.h"
#include "owners/ScopeGuard.h"

#include <algorithm>

namespace {

void RequireRoom(LRESULT result)
{
    if (result == LB_ERR || result == LB_ERRSPACE)
        throw Exception(L"The list cannot hold another entry");
}

// The window's storage is grown ahead in steps this large: one request for every entry of a long
// list made it grow slower, not faster (measured under Wine with 90,000 entries: 60 ms in steps,
// 120 ms at once).
const std::size_t StorageStep = 16384;

// Deleting one entry moves every entry after it, so beyond this many removed entries the list is
// filled anew instead.
const std::size_t MostSingleDeletions = 64;

template <class Change>
void WithoutRedrawing(HWND list, Change change)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const ScopeGuard redraw([list] {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    });
    change();
}

void Fill(HWND list, const Entries& entries)
{
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i % StorageStep == 0) {
            const std::size_t step = std::min(StorageStep, entries.size() - i);
            SendMessageW(list, LB_INITSTORAGE, static_cast<WPARAM>(step), static_cast<LPARAM>(step * 16 * sizeof(wchar_t)));
        }
        RequireRoom(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries[i].Text.c_str())));
    }
}

}  // namespace

void ShowEntries(HWND list, const Entries& entries)
{
    WithoutRedrawing(list, [&] { Fill(list, entries); });
}

void InsertEntry(HWND list, std::size_t index, const Entry& entry)
{
    RequireRoom(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.Text.c_str())));
}

void RemoveEntries(HWND list, const std::vector<std::size_t>& removed, const Entries& entries)
{
    if (removed.empty())
        return;
    WithoutRedrawing(list, [&] {
        if (removed.size() <= MostSingleDeletions) {
            for (auto index = removed.rbegin(); index != removed.rend(); ++index)
                SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(*index), 0);
            return;
        }
        const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        Fill(list, entries);
        if (!entries.empty())
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::min<LRESULT>(top, static_cast<LRESULT>(entries.size()) - 1)), 0);
    });
}

// Only the entries selected now are taken out of the selection: clearing all of a long list's
// entries at once visits every one of them.
void ShowSelection(HWND list, const std::vector<std::size_t>& selection)
{
    for (std::size_t index : SelectedEntries(list))
        if (std::find(selection.begin(), selection.end(), index) == selection.end())
            SendMessageW(list, LB_SETSEL, FALSE, static_cast<LPARAM>(index));
    for (std::size_t index : selection)
        SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(index));
}

std::vector<std::size_t> SelectedEntries(HWND list)
{
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0)
        return {};
    std::vector<int> indices(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(indices.size()), reinterpret_cast<LPARAM>(indices.data()));
    indices.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return std::vector<std::size_t>(indices.begin(), indices.end());
}
