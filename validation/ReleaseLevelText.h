#pragma once
// The whole number on the first line of the release-level file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Reads the first line a byte at a time, and only as far as the number needs, so that a file of
// any size is decided at once. The rule: blanks, as many as there are; an optional sign "+" or
// "-"; then decimal digits within the 32-bit range, or up to eight hexadecimal digits after "$",
// "x", "X", "0x" or "0X", taken as a 32-bit pattern; leading zeros of either, as many as there
// are; nothing may follow, not even a blank.
class ReleaseLevelReader {
public:
    // The next byte of the line (its line end not included); false once the line is decided and
    // no more of it is wanted, not even for the message.
    bool Take(char byte);
    // Once the line has ended or is decided: the level, or EConvertError "''LINE'' is not a valid
    // integer value", the line quoted whole where it is of normal length, else by its beginning,
    // visibly cut. ToText turns the quoted bytes into text.
    std::int32_t Level(const std::function<std::wstring(std::string_view)>& toText) const;

private:
    enum class Part { Blanks, Start, ZeroOrPrefix, Zeros, Digits, Invalid };
    void Digit(int value);

    Part FPart = Part::Blanks;
    bool FNegative = false;
    bool FHexadecimal = false;
    bool FAnyDigit = false;
    int FSignificantDigits = 0;
    std::uint64_t FValue = 0;
    std::size_t FLength = 0;
    std::string FQuoted;
};
