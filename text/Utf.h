#pragma once
// Unicode text converted without the system's help, the same on every release and tested natively.
// The UTF-8 here is generalised as Windows file names need it: a UTF-16 surrogate without its
// partner takes the three bytes its value would take, so that any UTF-16 text, well formed or not,
// comes back unit for unit. Bytes that are no UTF-8 read as U+FFFD.
#include <string>
#include <string_view>

std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);

// UTF-16 as bytes, little- or big-endian, and the same text in UTF-8; Units holds an even number of bytes.
std::string Utf8FromUtf16(std::string_view units, bool bigEndian);
std::string Utf16FromUtf8(std::string_view bytes, bool bigEndian);
