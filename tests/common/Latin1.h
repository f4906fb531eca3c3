#pragma once
// A single-byte ANSI code page for tests that need none of the system's: each byte is the
// character of its value, as Windows-1252 has it for most bytes; a character past 0xFF becomes "?".
#include "app/ListFile.h"

inline std::wstring FromLatin1(std::string_view bytes)
{
    std::wstring text;
    for (const char byte : bytes)
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return text;
}

inline std::string ToLatin1(std::wstring_view text)
{
    std::string bytes;
    for (const wchar_t c : text)
        bytes += c <= 0xFF ? static_cast<char>(c) : '?';
    return bytes;
}

inline const AnsiConversion Latin1{FromLatin1, ToLatin1};
