#pragma once
// The address list file as bytes, before and after the system's code page: how its lines are
// told apart, how much of it the program reads, and the names of the program's own scratch files
// beside it. No system call here, so that all of it is tested natively.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A list is far smaller than either: a thousand servers take some 16 KB. A file past them is no
// address list (a device that never ends, a file of another kind), and reading it whole would
// take memory without bound.
constexpr std::size_t MaxListBytes = 4 * 1024 * 1024;
constexpr std::size_t MaxListLines = 200000;

struct ListText {
    // Each line's bytes within the bytes split, its line end taken off: a line ends at CR LF, at
    // LF or at a CR alone.
    std::vector<std::string_view> Lines;
    // A Ctrl-Z (0x1A) ends the text, as old text files have it; it and what follows it are kept
    // as they stand, to be written back after the lines.
    std::string Tail;
    std::size_t TailLine = 0;  // the line, counted from 1, that the Ctrl-Z stands on; 0: none
    bool TooLong = false;  // more than MaxListBytes, or more than MaxListLines lines
};

// How a list file's text is stored: in the system's ANSI code page, or, as Notepad writes it with
// a byte-order mark first, as UTF-8 or UTF-16. A UTF-16 file without a mark is not guessed at.
enum class ListEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The encoding a list file is in, by the mark it begins with.
ListEncoding ListEncodingOf(std::string_view file);
// A list file's bytes as its lines are split: for a Unicode file, without the mark, and UTF-16 as
// UTF-8 (text/Utf.h), made in Converted, so that CR, LF and Ctrl-Z are single bytes in every
// encoding. Where nothing needs converting, the file's own bytes, not a copy. A UTF-16 file cut in
// the middle of a unit leaves its last byte out, for the caller to keep (ListBodyLeftOver).
std::string_view ListBodyOf(std::string_view file, ListEncoding encoding, std::string& converted);
std::string_view ListBodyLeftOver(std::string_view file, ListEncoding encoding);
// The file's bytes for a body in its encoding, with its mark.
std::string EncodeListBody(ListEncoding encoding, std::string_view body);

// Splits what a list file holds; Bytes may hold one byte more than MaxListBytes, to tell a file of
// exactly that size from a longer one.
ListText SplitListText(std::string_view bytes);

// The first lines (counted from 1; 0: none) of a list file that the window cannot show as the file
// has them, though a save keeps them as they are.
struct HiddenText {
    std::size_t NulLine = 0;        // a NUL character: the list shows the line up to it
    std::size_t CodePageLine = 0;   // bytes that are no text in the system's code page
    std::size_t EndOfTextLine = 0;  // a Ctrl-Z, after which the file holds more that is not shown

    // Whether a save writes the file back as it is, where the list is not changed: not where its
    // lines end other than with CR LF (a UTF-16 file without a mark read as ANSI, say).
    bool SavedAsItIs = true;

    bool Any() const { return NulLine || CodePageLine || EndOfTextLine; }
};
// Whether a tail holds more than its Ctrl-Z and line ends: text that is not shown.
bool TailHidesText(std::string_view tail);
// Tells the user, once, which lines of the list file at Path the window shows otherwise than the
// file has them, and what saving does to them.
std::wstring HiddenTextMessage(const std::wstring& path, const HiddenText& hidden);
// The list file at Path is past the limits above.
std::wstring TooLargeMessage(const std::wstring& path);

// Whether a name is that of a scratch file this program writes a new list to before it takes the
// list's place: "IPList.Txt.<digits>.Tmp" (or "IPList.Txt.<digits>-<n>.Tmp" where that was taken),
// or, where a volume takes only short names, "IP<six hexadecimal digits>.Tmp".
bool IsListScratchName(std::wstring_view name);

// A scratch file of the program's this old is no save in progress, but one that a crash or a
// power loss left behind. In the file times' unit, 100 ns.
constexpr std::uint64_t LeftBehindAfter = 60ull * 60 * 10000000;
// Whether a file of this name, last written at Written, is such a one. Now is the file system's own
// time, as it stamped a file just written, not this workstation's clock: a file dated after it (a
// workstation whose clock runs ahead) may be a save in progress and is kept.
bool IsLeftBehindScratchFile(std::wstring_view name, std::uint64_t written, std::uint64_t now);
