#pragma once
// The server address list: IPList.Txt in the program folder, one entry per line, ANSI text, CR LF.
#include "app/Entries.h"

#include <string>

std::wstring AddressListPath(const std::wstring& folder);
// The file's lines in file order; a missing file gives an empty list, and a
// file that cannot be examined an error, never an empty list.
Entries LoadAddressList(const std::wstring& folder);
// Replaces the file with List's entries. The new content is written to a new file of the
// program's own beside the old one and moved over it in one step, so a failure at any point
// leaves the old file as it was; every error names the list file and gives the system's reason.
void SaveAddressList(const std::wstring& folder, const Entries& list);
