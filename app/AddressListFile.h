#pragma once
// The server address list: IPList.Txt in the program folder, one entry per line, ANSI text, CR LF.
#include <string>
#include <vector>

using StringList = std::vector<std::wstring>;

std::wstring AddressListPath();
// Replaces List with the file's lines in file order; a missing file gives an empty list.
void LoadAddressList(StringList& list);
// Replaces the file with List's entries. The new content is written beside the old file and moved
// over it in one step, so a failure at any point leaves the old file as it was.
void SaveAddressList(const StringList& list);
