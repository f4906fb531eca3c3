#pragma once
#include <string>

// Digits from the local time of day: hour, minute, second, the millisecond's hundreds digit and its
// units digit, each without leading zeros, run together. Scratch names are made from it.
std::wstring TimeOfDayStamp();
std::wstring FormatTimeOfDayStamp(int hour, int minute, int second, int millisecond);
