#include "files/TimeOfDayStamp.h"

#include <windows.h>

std::wstring TimeOfDayStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatTimeOfDayStamp(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}
