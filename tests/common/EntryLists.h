#pragma once
// Entries made from texts alone, and the texts of entries, for tests that compare lists.
#include "app/ListFile.h"

#include <initializer_list>
#include <string>
#include <vector>

inline Entries Listed(std::initializer_list<const wchar_t*> texts)
{
    Entries entries;
    for (const wchar_t* text : texts)
        entries.push_back({text, {}});
    return entries;
}

inline std::vector<std::wstring> Texts(const Entries& entries)
{
    std::vector<std::wstring> texts;
    for (const Entry& entry : entries)
        texts.push_back(entry.Text);
    return texts;
}
