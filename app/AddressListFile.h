#pragma once
// The server address list: IPList.Txt in the program folder, one entry per line, text in the
// system's ANSI code page, every line ending in CR LF.
#include "app/ListFile.h"

#include <optional>
#include <string>

std::wstring AddressListPath(const std::wstring& folder);

// The file's bytes as they are now; Existed false where no file is there, or a folder is. A file
// that cannot be examined or read gives an error after the retries, never an empty list.
ListFileState ReadAddressListState(const std::wstring& folder);
// Whether the file is as State has it, compared as it is read, without reading it whole: a save's
// first question, whose answer is yes nearly always. Errors as above.
bool AddressListIsAsBefore(const std::wstring& folder, const ListFileState& state);
// The list those bytes hold, in the file's encoding: its lines, what follows a Ctrl-Z, and the
// lines the window cannot show as they stand; for bytes past the limits of a list, an error that
// says so.
ListFile ParseAddressList(const std::wstring& folder, ListFileState state);
// Both: a missing file gives an empty list.
ListFile ReadAddressList(const std::wstring& folder);

// Writes Entries as the new list, in the frame's encoding and with its tail, to the file that the
// list's name leads to (through a symbolic link, where it is one), so that every name and folder
// that shares it sees the new list. The new list goes to a scratch file of the program's own
// beside that file, which takes its place in one step, with its access list, so that a failure at
// any point leaves the old file as it was; where the file has other names, which a replacement
// would part from it, the new list is written into the file itself, the scratch file holding it
// whole until then. It does so only while the file is still as Expected, checked right before:
// it answers what it wrote, or nothing where the file had changed meanwhile (and then nothing was
// written over it). Every error names IPList.Txt and gives the system's reason. A save also
// removes the program's own scratch files that a crash or a power loss left behind, once they are
// an hour old.
std::optional<ListFileState> WriteAddressList(const std::wstring& folder, const Entries& entries, const ListFrame& frame,
                                              const ListFileState& expected);
