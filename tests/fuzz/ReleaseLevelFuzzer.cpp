// The release level's conversion never crashes and accepts exactly what a plain reading of the
// rule accepts, with the same value. The reading here is deliberately written another way: a
// regular expression for the form, then the digits checked by their count and text.
#include "errors/Exception.h"
#include "validation/ReleaseLevelText.h"

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
    std::string narrow(reinterpret_cast<const char*>(data), size);
    if (narrow.find('\n') != std::string::npos)
        return 0;  // a line never holds a line end
    std::wstring line(narrow.begin(), narrow.end());
    // A line longer than any number needs is refused whatever it holds, quoted by its beginning.
    const bool overLong = line.size() > MaxReleaseLineLength;
    const std::wstring quoted = overLong ? line.substr(0, 64) + L"..." : line;
    Reading actual{true, 0};
    try {
        actual.Value = ConvertReleaseLevel(line);
    } catch (const EConvertError& error) {
        actual.Accepted = false;
        if (error.Message() != L"''" + quoted + L"'' is not a valid integer value")
            std::abort();
    }
    const Reading expected = overLong ? Reading{false, 0} : ReadByTheRule(narrow);
    if (actual.Accepted != expected.Accepted || (actual.Accepted && actual.Value != expected.Value))
        std::abort();
    return 0;
}
