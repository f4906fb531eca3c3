#include "files/CodePage.h"

#include "errors/SystemError.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace {

bool IsAscii(std::wstring_view text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<unsigned>(c) < 0x80; });
}

int Length(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        RaiseInOutError(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<int>(size);
}

}  // namespace

// Plain ASCII is the same in every ANSI code page, so it is widened as it stands: a list of
// addresses then takes no conversion call a line. Anything else in one conversion call: no code
// page gives more code units than bytes (UTF-8 gives two for four, and one for a byte that does
// not decode).
std::wstring FromAnsi(std::string_view bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::wstring(bytes.begin(), bytes.end());
    std::wstring text(bytes.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), Length(bytes.size()), &text[0], Length(text.size()));
    if (length <= 0)
        RaiseLastInOutError();
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Plain ASCII is the same in every ANSI code page (single-byte, double-byte or UTF-8), so it is
// copied as it stands; anything else takes the room the conversion itself asks for, which is up
// to three bytes a unit where the code page is UTF-8.
std::string ToAnsi(std::wstring_view text)
{
    if (IsAscii(text))
        return std::string(text.begin(), text.end());
    const int units = Length(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        RaiseLastInOutError();
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), units, &bytes[0], length, nullptr, nullptr) != length)
        RaiseLastInOutError();
    return bytes;
}
