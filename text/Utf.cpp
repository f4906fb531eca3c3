#include "text/Utf.h"

#include <cstdint>

namespace {

const char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The code point that starts at At, and where the next one starts; U+FFFD for a byte that starts
// none, or a sequence that is cut short, too long for its value, or past U+10FFFF.
char32_t NextPoint(std::string_view bytes, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(bytes[at++]);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? (lead <= 0xEF ? 2 : -1) : lead >= 0xC2 ? 1 : -1;
    if (more < 0)
        return Replacement;
    char32_t point = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if (at >= bytes.size() || (static_cast<unsigned char>(bytes[at]) & 0xC0) != 0x80)
            return Replacement;
        point = (point << 6) | (static_cast<unsigned char>(bytes[at++]) & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    return point < least[more] || point > 0x10FFFF ? Replacement : point;
}

template <class Unit>
void AppendUnits(std::basic_string<Unit>& out, char32_t point)
{
    if (sizeof(Unit) == 2 && point > 0xFFFF) {
        point -= 0x10000;
        out += static_cast<Unit>(0xD800 + (point >> 10));
        out += static_cast<Unit>(0xDC00 + (point & 0x3FF));
    } else {
        out += static_cast<Unit>(point);
    }
}

// Each code point of UTF-16 units (or of wider ones, which hold code points already); a
// surrogate without its partner stands for itself.
template <class Units, class Take>
void ForEachPoint(std::size_t count, Units unitAt, Take take)
{
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
            take(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            take(unit);
        }
    }
}

}  // namespace

std::wstring FromUtf8(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();)
        AppendUnits(text, NextPoint(bytes, at));
    return text;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    ForEachPoint(text.size(), [&](std::size_t i) { return static_cast<char32_t>(text[i]); },
                 [&](char32_t point) { AppendUtf8(bytes, point); });
    return bytes;
}

std::string Utf8FromUtf16(std::string_view units, bool bigEndian)
{
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(units[2 * i]), second = static_cast<unsigned char>(units[2 * i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string bytes;
    bytes.reserve(units.size() / 2);
    ForEachPoint(units.size() / 2, unitAt, [&](char32_t point) { AppendUtf8(bytes, point); });
    return bytes;
}

std::string Utf16FromUtf8(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();)
        AppendUnits(units, NextPoint(bytes, at));
    std::string out;
    out.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}
