#pragma once
#include <string>
#include <vector>

// The address list's entries in list order, as the file holds them and the window shows them.
using Entries = std::vector<std::wstring>;
