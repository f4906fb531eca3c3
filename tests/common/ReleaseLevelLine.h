#pragma once
// The release level of a whole first line, as the release file's reader takes it byte by byte;
// the message quotes the bytes widened one to one.
#include "validation/ReleaseLevelText.h"

#include <cstdint>
#include <string>
#include <string_view>

inline std::int32_t ConvertReleaseLevel(std::string_view line)
{
    ReleaseLevelReader reader;
    for (char byte : line)
        if (!reader.Take(byte))
            break;
    return reader.Level([](std::string_view bytes) {
        std::wstring text;
        for (char c : bytes)
            text += static_cast<wchar_t>(static_cast<unsigned char>(c));
        return text;
    });
}
