#include "text/NaturalCompare.h"

#include <cfloat>
#include <cstdint>

// The two strings are cut into fields as the comparison goes, field by field, and the comparison
// stops at the first field that decides. Nothing is stored, so a string of any number of fields
// costs no memory. The usual pair (two addresses) shares a beginning and differs in one short
// digit field: the shared beginning is skipped unit by unit, and a digit field of up to 15 digits
// is summed as a whole number, which is what the rule's double arithmetic gives it exactly.

namespace {

enum CharClass : int { ccOther = 1, ccLetter = 2, ccDigit = 3 };

// Whether C is one of the Count code units from First on; units count as 16-bit values whatever
// the width of wchar_t.
bool InRange(wchar_t c, unsigned first, unsigned count)
{
    return static_cast<unsigned>(static_cast<std::uint16_t>(c)) - first < count;
}

bool IsDigit(wchar_t c)
{
    return InRange(c, u'0', 10);
}

CharClass ClassOf(wchar_t c)
{
    if (IsDigit(c))
        return ccDigit;
    if (InRange(c, u'A', 26) || InRange(c, u'a', 26))
        return ccLetter;
    return ccOther;
}

// A letter as the comparison sees it: folded when case does not count, then given its collation
// code (a = 1, A = 2, b = 3, ...). Other characters stand as they are.
unsigned Adjusted(wchar_t c, bool caseSensitive)
{
    unsigned unit = static_cast<std::uint16_t>(c);
    if (!caseSensitive && InRange(c, u'a', 26))
        unit -= u'a' - u'A';
    if (unit - u'A' < 26u)
        return 2 * unit - 128;
    if (unit - u'a' < 26u)
        return 2 * unit - 193;
    return unit;
}

// Each step of a long digit field's value is rounded to a double. Where the processor evaluates
// in more precision than that (the x87 unit), a store to memory does the rounding.
double StoredDouble(double value)
{
#if FLT_EVAL_METHOD == 0
    return value;
#else
    volatile double stored = value;
    return stored;
#endif
}

// A digit field by the rule's own arithmetic, from its first digit to End.
double DoubleValue(const wchar_t* digit, const wchar_t* end)
{
    double value = 0.0;
    for (; digit != end; ++digit) {
        value = StoredDouble(value * 10.0);
        value = StoredDouble(value + static_cast<unsigned>(*digit - L'0'));
    }
    return value;
}

const wchar_t* TrimmedEnd(std::wstring_view text)
{
    const wchar_t* end = text.data() + text.size();
    while (end != text.data() && end[-1] == L' ')
        --end;
    return end;
}

int Sign(bool before)
{
    return before ? -1 : 1;
}

// Two letter fields, or two fields of other characters, from A and B on: unit by unit, then the
// shorter first. A and B end after the fields when they decide nothing.
int CompareTextFields(const wchar_t*& a, const wchar_t* aEnd, const wchar_t*& b, const wchar_t* bEnd,
                      CharClass fieldClass, bool caseSensitive)
{
    for (;; ++a, ++b) {
        const bool aIn = a != aEnd && ClassOf(*a) == fieldClass;
        const bool bIn = b != bEnd && ClassOf(*b) == fieldClass;
        if (!aIn || !bIn)
            return aIn == bIn ? 0 : Sign(bIn);
        const unsigned x = Adjusted(*a, caseSensitive), y = Adjusted(*b, caseSensitive);
        if (x != y)
            return Sign(x < y);
    }
}

// Two digit fields of more than 15 digits, by the rule's own arithmetic.
int CompareLongDigitFields(const wchar_t*& a, const wchar_t* aEnd, const wchar_t*& b, const wchar_t* bEnd,
                           const wchar_t* aStart, const wchar_t* bStart)
{
    while (a != aEnd && IsDigit(*a))
        ++a;
    while (b != bEnd && IsDigit(*b))
        ++b;
    const double x = DoubleValue(aStart, a), y = DoubleValue(bStart, b);
    return x == y ? 0 : Sign(x < y);
}

// Up to 15 digits of the digit field at Digit, as a whole number, summed into Value.
const wchar_t* SumDigits(const wchar_t* digit, const wchar_t* end, std::uint64_t& value)
{
    const wchar_t* const stop = end - digit > 15 ? digit + 15 : end;
    for (; digit != stop && IsDigit(*digit); ++digit)
        value = value * 10 + static_cast<unsigned>(*digit - L'0');
    return digit;
}

}  // namespace

int NaturalCompare(std::wstring_view first, std::wstring_view second, bool caseSensitive)
{
    const wchar_t* a = first.data();
    const wchar_t* const aEnd = TrimmedEnd(first);
    const wchar_t* b = second.data();
    const wchar_t* const bEnd = TrimmedEnd(second);

    // Up to the first unequal unit both strings are the same. The fields may first differ there,
    // or earlier when the field that holds the last equal unit goes on in either string.
    const wchar_t* const begin = a;
    while (a != aEnd && b != bEnd && *a == *b) {
        ++a;
        ++b;
    }
    if (a != begin) {
        const CharClass run = ClassOf(a[-1]);
        if ((a != aEnd && ClassOf(*a) == run) || (b != bEnd && ClassOf(*b) == run))
            while (a != begin && ClassOf(a[-1]) == run) {
                --a;
                --b;
            }
    }

    // Each round takes one whole field from each string, so both stand at a field's start.
    while (a != aEnd && b != bEnd) {
        const CharClass classA = ClassOf(*a), classB = ClassOf(*b);
        if (classA != classB)
            return Sign(classA < classB);
        if (classA != ccDigit) {
            if (const int decided = CompareTextFields(a, aEnd, b, bEnd, classA, caseSensitive))
                return decided;
            continue;
        }
        // Up to 15 digits a value is below 2 to the power 53, where every double step of the rule
        // is exact: whole numbers give the rule's order.
        const wchar_t* const aStart = a;
        const wchar_t* const bStart = b;
        std::uint64_t x = 0, y = 0;
        a = SumDigits(a, aEnd, x);
        b = SumDigits(b, bEnd, y);
        const bool aLong = a != aEnd && IsDigit(*a), bLong = b != bEnd && IsDigit(*b);
        const int decided = aLong || bLong ? CompareLongDigitFields(a, aEnd, b, bEnd, aStart, bStart)
                                           : (x == y ? 0 : Sign(x < y));
        if (decided)
            return decided;
    }
    // No field decided: the string with fewer fields sorts first.
    if ((a == aEnd) == (b == bEnd))
        return 0;
    return Sign(a == aEnd);
}
