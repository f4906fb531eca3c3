#include "text/NaturalCompare.h"

#include "text/SmallBuffer.h"

#include <cstdint>

namespace {

enum CharClass : std::int32_t { ccOther = 1, ccLetter = 2, ccDigit = 3 };

struct FieldRecord {
    std::int32_t ContentsType;
    std::size_t FieldStart;  // 0-based index of the field's first code unit
    std::size_t FieldEnd;    // one past its last code unit
    double NumericEquivalent;
};

// Enough for any dotted address and most file-like names; longer strings move to the heap.
constexpr std::size_t LocalFields = 99;
constexpr std::size_t LocalCodeUnits = 320;

struct FieldStructureRecord {
    SmallBuffer<FieldRecord, LocalFields> Fields;
    SmallBuffer<std::uint16_t, LocalCodeUnits> AdjustedString;
};

// Code units are compared as 16-bit values whatever the width of wchar_t.
std::uint16_t CodeUnit(wchar_t c)
{
    return static_cast<std::uint16_t>(c);
}

CharClass ClassOf(std::uint16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return ccLetter;
    if (c >= u'0' && c <= u'9')
        return ccDigit;
    return ccOther;
}

// Each step of the numeric value is rounded to a double, also where the processor would keep
// more precision in its registers.
double StoredDouble(double value)
{
    volatile double stored = value;
    return stored;
}

std::size_t TrimmedLength(std::wstring_view text)
{
    std::size_t length = text.size();
    while (length > 0 && text[length - 1] == L' ')
        --length;
    return length;
}

void Prepare(std::wstring_view text, bool caseSensitive, FieldStructureRecord& record)
{
    const std::size_t length = TrimmedLength(text);
    for (std::size_t p = 0; p < length; ++p) {
        std::uint16_t c = CodeUnit(text[p]);
        if (!caseSensitive && c >= u'a' && c <= u'z')
            c = static_cast<std::uint16_t>(c - (u'a' - u'A'));
        const CharClass charClass = ClassOf(c);
        if (record.Fields.Size() == 0 || record.Fields.Back().ContentsType != charClass) {
            if (record.Fields.Size() > 0)
                record.Fields.Back().FieldEnd = p;
            record.Fields.PushBack(FieldRecord{charClass, p, p + 1, 0.0});
        }
        FieldRecord& field = record.Fields.Back();
        if (charClass == ccDigit) {
            field.NumericEquivalent = StoredDouble(field.NumericEquivalent * 10.0);
            field.NumericEquivalent = StoredDouble(field.NumericEquivalent + (c - u'0'));
        } else if (charClass == ccLetter) {
            c = c <= u'Z' ? static_cast<std::uint16_t>(2 * c - 128) : static_cast<std::uint16_t>(2 * c - 193);
        }
        record.AdjustedString.PushBack(c);
    }
    if (record.Fields.Size() > 0)
        record.Fields.Back().FieldEnd = length;
}

int Sign(bool before)
{
    return before ? -1 : 1;
}

int CompareUnits(const FieldStructureRecord& first, const FieldRecord& a, const FieldStructureRecord& second,
                 const FieldRecord& b)
{
    const std::size_t lengthA = a.FieldEnd - a.FieldStart;
    const std::size_t lengthB = b.FieldEnd - b.FieldStart;
    const std::size_t shorter = lengthA < lengthB ? lengthA : lengthB;
    for (std::size_t i = 0; i < shorter; ++i) {
        const std::uint16_t x = first.AdjustedString[a.FieldStart + i];
        const std::uint16_t y = second.AdjustedString[b.FieldStart + i];
        if (x != y)
            return Sign(x < y);
    }
    return lengthA == lengthB ? 0 : Sign(lengthA < lengthB);
}

int CompareFields(const FieldStructureRecord& first, const FieldRecord& a, const FieldStructureRecord& second,
                  const FieldRecord& b)
{
    if (a.ContentsType != b.ContentsType)
        return Sign(a.ContentsType < b.ContentsType);
    if (a.ContentsType == ccDigit)
        return a.NumericEquivalent == b.NumericEquivalent ? 0 : Sign(a.NumericEquivalent < b.NumericEquivalent);
    return CompareUnits(first, a, second, b);
}

}  // namespace

std::wstring TrimTrailingBlanks(std::wstring_view text)
{
    return std::wstring(text.substr(0, TrimmedLength(text)));
}

int NaturalCompare(std::wstring_view first, std::wstring_view second, bool caseSensitive)
{
    FieldStructureRecord a;
    FieldStructureRecord b;
    Prepare(first, caseSensitive, a);
    Prepare(second, caseSensitive, b);
    const std::size_t common = a.Fields.Size() < b.Fields.Size() ? a.Fields.Size() : b.Fields.Size();
    for (std::size_t k = 0; k < common; ++k)
        if (const int decided = CompareFields(a, a.Fields[k], b, b.Fields[k]))
            return decided;
    if (a.Fields.Size() == b.Fields.Size())
        return 0;
    return Sign(a.Fields.Size() < b.Fields.Size());
}
