// Natural order never crashes, agrees with the plain reading of its rules, and behaves as an
// order: a string equals itself, swapping the two strings flips the sign, the result is -1, 0 or 1. Input: one byte (the case flag and where
// the first string ends), then 16-bit code units.
#include "tests/fuzz/NaturalCompareReference.h"
#include "text/NaturalCompare.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool caseSensitive = data[0] & 1;
    std::wstring units;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        units += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const std::size_t split = units.empty() ? 0 : (data[0] >> 1) % (units.size() + 1);
    const std::wstring first = units.substr(0, split), second = units.substr(split);

    const int forward = NaturalCompare(first, second, caseSensitive);
    const int backward = NaturalCompare(second, first, caseSensitive);
    if (forward < -1 || forward > 1 || forward != -backward)
        std::abort();
    if (forward != Reference::Compare(first, second, caseSensitive))
        std::abort();
    if (NaturalCompare(first, first, caseSensitive) != 0 || NaturalCompare(second, second, caseSensitive) != 0)
        std::abort();
    // Trailing blanks never count.
    if (NaturalCompare(first + L"   ", second, caseSensitive) != forward)
        std::abort();
    return 0;
}
