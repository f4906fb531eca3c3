#include "validation/ReleaseLevelText.h"

#include "errors/Exception.h"

namespace {

// A line of normal length is quoted whole; a longer one by its beginning.
const std::size_t QuotedWhole = 256;
const std::size_t QuotedBeginning = 64;

int DecimalValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

int HexValue(char c)
{
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return DecimalValue(c);
}

}  // namespace

void ReleaseLevelReader::Digit(int value)
{
    FAnyDigit = true;
    if (value == 0 && FSignificantDigits == 0) {
        FPart = Part::Zeros;  // leading zeros count for nothing, however many
        return;
    }
    FPart = Part::Digits;
    ++FSignificantDigits;
    FValue = FValue * (FHexadecimal ? 16 : 10) + static_cast<std::uint64_t>(value);
    const std::uint64_t limit = FHexadecimal ? 0xFFFFFFFFull : (FNegative ? 2147483648ull : 2147483647ull);
    if (FValue > limit || FSignificantDigits > (FHexadecimal ? 8 : 10))
        FPart = Part::Invalid;
}

bool ReleaseLevelReader::Take(char byte)
{
    ++FLength;
    if (FQuoted.size() < QuotedWhole + 1)
        FQuoted += byte;
    switch (FPart) {
    case Part::Blanks:
        if (byte == ' ')
            break;
        if (byte == '+' || byte == '-') {
            FNegative = byte == '-';
            FPart = Part::Start;
            break;
        }
        [[fallthrough]];
    case Part::Start:
        if (byte == '$' || byte == 'x' || byte == 'X') {
            FHexadecimal = true;
            FPart = Part::Zeros;
        } else if (byte == '0') {
            FAnyDigit = true;
            FPart = Part::ZeroOrPrefix;  // a zero of its own, or the start of "0x"
        } else if (DecimalValue(byte) > 0) {
            Digit(DecimalValue(byte));
        } else {
            FPart = Part::Invalid;
        }
        break;
    case Part::ZeroOrPrefix:
        if (byte == 'x' || byte == 'X') {
            FHexadecimal = true;
            FAnyDigit = false;
            FPart = Part::Zeros;
            break;
        }
        [[fallthrough]];
    case Part::Zeros:
    case Part::Digits: {
        const int value = FHexadecimal ? HexValue(byte) : DecimalValue(byte);
        if (value < 0)
            FPart = Part::Invalid;
        else
            Digit(value);
        break;
    }
    case Part::Invalid: break;
    }
    // A line that is no number is read on as far as its message quotes it.
    return FPart != Part::Invalid || FQuoted.size() <= QuotedWhole;
}

std::int32_t ReleaseLevelReader::Level(const std::function<std::wstring(std::string_view)>& toText) const
{
    const bool valid = FAnyDigit && (FPart == Part::Digits || FPart == Part::Zeros || FPart == Part::ZeroOrPrefix);
    if (!valid) {
        const bool whole = FLength <= QuotedWhole;
        throw EConvertError(L"''" + toText(whole ? std::string_view(FQuoted) : std::string_view(FQuoted).substr(0, QuotedBeginning)) +
                            (whole ? L"" : L"...") + L"'' is not a valid integer value");
    }
    // A hexadecimal value is a 32-bit pattern; its sign, if any, negates that pattern.
    const std::uint32_t pattern = static_cast<std::uint32_t>(FNegative ? 0u - FValue : FValue);
    return static_cast<std::int32_t>(pattern);
}
