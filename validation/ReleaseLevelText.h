#pragma once
// The whole number on the first line of the release-level file.
#include <cstdint>
#include <string>

// Leading blanks, an optional sign, then decimal digits within the 32-bit range, or up to eight
// hexadecimal digits after "$", "x", "X", "0x" or "0X", taken as a 32-bit pattern; nothing may
// follow. Anything else raises EConvertError "''LINE'' is not a valid integer value".
std::int32_t ConvertReleaseLevel(const std::wstring& line);
