#include "files/TimeOfDayStamp.h"

std::wstring FormatTimeOfDayStamp(int hour, int minute, int second, int millisecond)
{
    return std::to_wstring(hour) + std::to_wstring(minute) + std::to_wstring(second) +
           std::to_wstring(millisecond / 100) + std::to_wstring(millisecond % 10);
}
