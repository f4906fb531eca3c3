#pragma once
// Natural order: strings are cut into runs of digits, of letters and of other characters, and
// compared run by run, digit runs by their numeric value, so that 10.0.0.2 sorts before 10.0.0.10.
#include <string>
#include <string_view>

// -1 when First sorts before Second, 0 when they are equal in this order, 1 otherwise. Without
// CaseSensitive, ASCII letters compare as capitals; with it, each small letter sorts right before
// its capital (a, A, b, B, ...). Trailing blanks never count.
int NaturalCompare(std::wstring_view first, std::wstring_view second, bool caseSensitive);

