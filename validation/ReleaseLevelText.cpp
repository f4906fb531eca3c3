#include "validation/ReleaseLevelText.h"

#include "errors/Exception.h"

namespace {

// How much of an over-long line the message quotes.
const std::size_t QuotedBeginning = 64;

[[noreturn]] void RaiseNotAnInteger(const std::wstring& line)
{
    throw EConvertError(L"''" + line + L"'' is not a valid integer value");
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

}  // namespace

std::int32_t ConvertReleaseLevel(const std::wstring& line, bool whole)
{
    if (!whole || line.size() > MaxReleaseLineLength)
        RaiseNotAnInteger(line.substr(0, QuotedBeginning) + L"...");
    std::size_t p = 0;
    while (p < line.size() && line[p] == L' ')
        ++p;
    bool negative = false;
    if (p < line.size() && (line[p] == L'+' || line[p] == L'-'))
        negative = line[p++] == L'-';

    bool hexadecimal = false;
    if (p < line.size() && (line[p] == L'$' || line[p] == L'x' || line[p] == L'X')) {
        hexadecimal = true;
        ++p;
    } else if (p + 1 < line.size() && line[p] == L'0' && (line[p + 1] == L'x' || line[p + 1] == L'X')) {
        hexadecimal = true;
        p += 2;
    }
    if (p == line.size())
        RaiseNotAnInteger(line);

    const std::uint64_t base = hexadecimal ? 16 : 10;
    const std::uint64_t limit = hexadecimal ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    std::uint64_t value = 0;
    for (; p < line.size(); ++p) {
        const int digit = hexadecimal ? HexDigitValue(line[p]) : (line[p] >= L'0' && line[p] <= L'9' ? line[p] - L'0' : -1);
        if (digit < 0)
            RaiseNotAnInteger(line);
        value = value * base + static_cast<std::uint64_t>(digit);
        if (value > limit)
            RaiseNotAnInteger(line);
    }
    // A hexadecimal value is a 32-bit pattern; its sign, if any, negates that pattern.
    const std::uint32_t pattern = static_cast<std::uint32_t>(negative ? 0u - value : value);
    return static_cast<std::int32_t>(pattern);
}
