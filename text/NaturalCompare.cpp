#include "text/NaturalCompare.h"

#include <cfloat>
#include <cstdint>

// The two strings are cut into fields as the comparison goes, field by field, and the comparison
// stops at the first field that decides. Nothing is stored, so a string of any number of fields
// costs no memory, and the usual case (two addresses that differ early) ends early.

namespace {

enum CharClass : int { ccOther = 1, ccLetter = 2, ccDigit = 3 };

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

// Each step of a digit field's value is rounded to a double. Where the processor evaluates in
// more precision than that (the x87 unit), a store to memory does the rounding.
double StoredDouble(double value)
{
#if FLT_EVAL_METHOD == 0
    return value;
#else
    volatile double stored = value;
    return stored;
#endif
}

std::size_t TrimmedLength(std::wstring_view text)
{
    std::size_t length = text.size();
    while (length > 0 && text[length - 1] == L' ')
        --length;
    return length;
}

struct Field {
    CharClass Class;
    std::size_t Start;
    std::size_t End;
    double NumericEquivalent;
};

class FieldCursor {
public:
    FieldCursor(std::wstring_view text, bool caseSensitive)
        : FText(text.substr(0, TrimmedLength(text))), FCaseSensitive(caseSensitive)
    {
    }

    bool AtEnd() const { return FPos == FText.size(); }
    std::wstring_view Text() const { return FText; }
    void StartAt(std::size_t position) { FPos = position; }

    // The unit at Index as the comparison sees it: letters folded and given their collation code.
    std::uint16_t Adjusted(std::size_t index) const
    {
        std::uint16_t c = CodeUnit(FText[index]);
        if (!FCaseSensitive && c >= u'a' && c <= u'z')
            c = static_cast<std::uint16_t>(c - (u'a' - u'A'));
        if (c >= u'A' && c <= u'Z')
            return static_cast<std::uint16_t>(2 * c - 128);
        if (c >= u'a' && c <= u'z')
            return static_cast<std::uint16_t>(2 * c - 193);
        return c;
    }

    Field Next()
    {
        const CharClass fieldClass = ClassOf(CodeUnit(FText[FPos]));
        Field field{fieldClass, FPos, FPos, 0.0};
        if (fieldClass == ccDigit) {
            field.NumericEquivalent = DigitValue();
        } else {
            while (FPos < FText.size() && ClassOf(CodeUnit(FText[FPos])) == fieldClass)
                ++FPos;
        }
        field.End = FPos;
        return field;
    }

private:
    // Up to 15 digits the value is a whole number below 2 to the power 53, which every double step
    // would hold exactly, so it is summed as an integer; further digits go on in doubles.
    double DigitValue()
    {
        std::uint64_t exact = 0;
        int digits = 0;
        for (; FPos < FText.size() && digits < 15; ++FPos, ++digits) {
            const std::uint16_t c = CodeUnit(FText[FPos]);
            if (c < u'0' || c > u'9')
                return static_cast<double>(exact);
            exact = exact * 10 + (c - u'0');
        }
        double value = static_cast<double>(exact);
        for (; FPos < FText.size(); ++FPos) {
            const std::uint16_t c = CodeUnit(FText[FPos]);
            if (c < u'0' || c > u'9')
                break;
            value = StoredDouble(value * 10.0);
            value = StoredDouble(value + (c - u'0'));
        }
        return value;
    }

    std::wstring_view FText;
    bool FCaseSensitive;
    std::size_t FPos = 0;
};

int Sign(bool before)
{
    return before ? -1 : 1;
}

int CompareUnits(const FieldCursor& first, const Field& a, const FieldCursor& second, const Field& b)
{
    const std::size_t lengthA = a.End - a.Start;
    const std::size_t lengthB = b.End - b.Start;
    const std::size_t shorter = lengthA < lengthB ? lengthA : lengthB;
    for (std::size_t i = 0; i < shorter; ++i) {
        const std::uint16_t x = first.Adjusted(a.Start + i);
        const std::uint16_t y = second.Adjusted(b.Start + i);
        if (x != y)
            return Sign(x < y);
    }
    return lengthA == lengthB ? 0 : Sign(lengthA < lengthB);
}

int CompareFields(const FieldCursor& first, const Field& a, const FieldCursor& second, const Field& b)
{
    if (a.Class != b.Class)
        return Sign(a.Class < b.Class);
    if (a.Class == ccDigit)
        return a.NumericEquivalent == b.NumericEquivalent ? 0 : Sign(a.NumericEquivalent < b.NumericEquivalent);
    return CompareUnits(first, a, second, b);
}

}  // namespace

std::wstring TrimTrailingBlanks(std::wstring_view text)
{
    return std::wstring(text.substr(0, TrimmedLength(text)));
}

// Where the two strings' fields may first differ: the start of the field that holds the end of
// their common beginning. Every field before it is the same in both, unit for unit.
std::size_t FirstFieldThatMayDiffer(std::wstring_view a, std::wstring_view b)
{
    const std::size_t shorter = a.size() < b.size() ? a.size() : b.size();
    std::size_t common = 0;
    while (common < shorter && a[common] == b[common])
        ++common;
    if (common == 0)
        return 0;
    std::size_t start = common - 1;
    const CharClass runClass = ClassOf(CodeUnit(a[start]));
    while (start > 0 && ClassOf(CodeUnit(a[start - 1])) == runClass)
        --start;
    return start;
}

int NaturalCompare(std::wstring_view first, std::wstring_view second, bool caseSensitive)
{
    FieldCursor a(first, caseSensitive);
    FieldCursor b(second, caseSensitive);
    const std::size_t start = FirstFieldThatMayDiffer(a.Text(), b.Text());
    a.StartAt(start);
    b.StartAt(start);
    while (!a.AtEnd() && !b.AtEnd()) {
        const Field fieldA = a.Next();
        const Field fieldB = b.Next();
        if (const int decided = CompareFields(a, fieldA, b, fieldB))
            return decided;
    }
    // No field decided: the string with fewer fields sorts first.
    if (a.AtEnd() == b.AtEnd())
        return 0;
    return Sign(a.AtEnd());
}
