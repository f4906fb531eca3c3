#pragma once
// The server address list: IPList.Txt in the program folder, one entry per line, text in the
// system's ANSI code page, every line ending in CR LF.
#include "app/ListFile.h"

#include <optional>
#include <string>

std::wstring AddressListPath(const std::wstring& folder);

// The file as it is now: its lines, what follows a Ctrl-Z, its bytes, and the lines the window
// cannot show as they stand. A missing file gives an empty list; a file that cannot be examined or
// read gives an error after the retries, never an empty list; one past the limits of a list, an
// error that says so.
ListFile ReadAddressList(const std::wstring& folder);

// Writes Entries, then Tail, as the new list: to a scratch file of the program's own beside it,
// which then takes the list's place in one step, so that a failure at any point leaves the old
// file as it was. It does so only while the file is still as Expected, checked right before the
// step: it answers what it wrote, or nothing where the file had changed meanwhile (and then nothing
// was written over it). Every error names IPList.Txt and gives the system's reason. A save also
// removes the program's own scratch files that a crash or a power loss left behind, once they
// are an hour old.
std::optional<ListFileState> WriteAddressList(const std::wstring& folder, const Entries& entries, const std::string& tail,
                                              const ListFileState& expected);
