// The release level's conversion never crashes and accepts exactly what a plain reading of the
// rule accepts, with the same value. The reading here is deliberately written another way: a
// regular expression for the form, then the digits checked by their count and text.
#include "errors/Exception.h"
#include "tests/common/ReleaseLevelLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

struct Reading {
    bool Accepted;
    std::int32_t Value;
};

Reading ReadByTheRule(const std::string& line)
{
    static const std::regex form("^ *([+-]?)(?:(\\$|x|X|0x|0X)([0-9A-Fa-f]+)|([0-9]+))$");
    std::smatch match;
    if (!std::regex_match(line, match, form))
        return {false, 0};
    const bool negative = match[1] == "-";
    const bool hexadecimal = match[2].matched;
    std::string digits = hexadecimal ? match[3].str() : match[4].str();
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (hexadecimal) {
        if (digits.size() > 8)
            return {false, 0};
        const std::uint32_t pattern = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        return {true, static_cast<std::int32_t>(negative ? 0u - pattern : pattern)};
    }
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
        return {false, 0};
    const long long value = std::stoll(digits);
    return {true, static_cast<std::int32_t>(negative ? -value : value)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    if (line.find_first_of("\r\n\x1A") != std::string::npos)
        return 0;  // a line never holds a line end
    // A line of normal length is quoted whole, a longer one by its beginning.
    const std::string quoted = line.size() > 256 ? line.substr(0, 64) + "..." : line;
    Reading actual{true, 0};
    try {
        actual.Value = ConvertReleaseLevel(line);
    } catch (const EConvertError& error) {
        actual.Accepted = false;
        std::wstring widened;  // each byte as the character of the same number
        for (const unsigned char byte : quoted)
            widened += static_cast<wchar_t>(byte);
        if (error.Message() != L"''" + widened + L"'' is not a valid integer value")
            std::abort();
    }
    const Reading expected = ReadByTheRule(line);
    if (actual.Accepted != expected.Accepted || (actual.Accepted && actual.Value != expected.Value))
        std::abort();
    return 0;
}
