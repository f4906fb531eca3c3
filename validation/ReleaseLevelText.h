#pragma once
// The whole number on the first line of the release-level file.
#include <cstdint>
#include <string>

// The most of the first line that is read: more than any number needs, with room for blanks. A
// longer line is no number, and so a garbage file of any size is refused at once.
constexpr std::size_t MaxReleaseLineLength = 256;

// Leading blanks, an optional sign, then decimal digits within the 32-bit range, or up to eight
// hexadecimal digits after "$", "x", "X", "0x" or "0X", taken as a 32-bit pattern; nothing may
// follow. Anything else raises EConvertError "''LINE'' is not a valid integer value". A line
// longer than MaxReleaseLineLength, or one read only in part (Whole false), is quoted by its
// beginning, visibly cut.
std::int32_t ConvertReleaseLevel(const std::wstring& line, bool whole = true);
