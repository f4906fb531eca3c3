#pragma once
// The address list as the file holds it and the window shows it.
#include "files/ListText.h"

#include <string>
#include <vector>

// One entry: the text the window shows and compares, and, where that text would not be written
// back as the bytes the file holds (bytes that are no text in the system's code page), those
// bytes, which a save writes back as they were.
struct Entry {
    std::wstring Text;
    std::string Original;

    bool operator==(const Entry& other) const { return Text == other.Text && Original == other.Original; }
};
using Entries = std::vector<Entry>;

// The file as the window last read or wrote it: whether it was there, and its bytes.
struct ListFileState {
    bool Existed = false;
    std::string Bytes;

    bool operator==(const ListFileState& other) const { return Existed == other.Existed && Bytes == other.Bytes; }
    bool operator!=(const ListFileState& other) const { return !(*this == other); }
};

struct ListFile {
    Entries Lines;
    std::string Tail;  // from a Ctrl-Z on, kept as it stands
    ListFileState State;
    HiddenText Hidden;
};
