#pragma once
// The address list as the file holds it and the window shows it.
#include "files/ListText.h"

#include <optional>
#include <string>
#include <vector>

// One entry: the text the window shows and compares, and, where that text would not be written
// back as the bytes the file holds (bytes that are no text in the file's encoding), those bytes,
// which a save writes back as they were.
struct Entry {
    std::wstring Text;
    std::string Original;

    bool operator==(const Entry& other) const { return Text == other.Text && Original == other.Original; }
};
using Entries = std::vector<Entry>;

// What a save writes around the entries, as the file had it: its encoding (with its mark), what
// follows a Ctrl-Z, and half a UTF-16 unit at the very end, each kept as it stands.
struct ListFrame {
    ListEncoding Encoding = ListEncoding::Ansi;
    std::string Tail;
    std::string LeftOver;
};

// The file as the window last read or wrote it: whether it was there, and its bytes.
struct ListFileState {
    bool Existed = false;
    std::string Bytes;

    bool operator==(const ListFileState& other) const { return Existed == other.Existed && Bytes == other.Bytes; }
    bool operator!=(const ListFileState& other) const { return !(*this == other); }
};

struct ListFile {
    Entries Lines;
    ListFrame Frame;
    ListFileState State;
    HiddenText Hidden;
};

// How text in the system's ANSI code page converts (files/CodePage.h), passed in so that all else
// here needs no system.
struct AnsiConversion {
    std::wstring (*FromAnsi)(std::string_view bytes);
    std::string (*ToAnsi)(std::wstring_view text);
};

// The list a file's bytes hold, and the lines the window cannot show as they stand; nothing where
// the file is past the limits of a list (files/ListText.h).
std::optional<ListFile> ParseListFile(ListFileState state, const AnsiConversion& ansi);
// What a file of these entries holds, in the frame's encoding, every line ending in CR LF.
std::string ListFileBytes(const Entries& entries, const ListFrame& frame, const AnsiConversion& ansi);
