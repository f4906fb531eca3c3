#pragma once
// The list box shows the editor's entries; these keep it in step with them without rebuilding
// it for every change, since a list can hold a hundred thousand entries.
#include "app/ListFile.h"

#include <windows.h>

// Shows Entries and nothing else.
void ShowEntries(HWND list, const Entries& entries);
void InsertEntry(HWND list, std::size_t index, const Entry& entry);
// Takes away the entries at Removed (ascending); Entries is the list as it stands afterwards.
void RemoveEntries(HWND list, const std::vector<std::size_t>& removed, const Entries& entries);
// Makes these the only selected entries.
void ShowSelection(HWND list, const std::vector<std::size_t>& selection);
std::vector<std::size_t> SelectedEntries(HWND list);
