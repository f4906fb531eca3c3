#pragma once
// How the shipped pause tells the thread's windows what it waits for: this registered message,
// whose lParam points to the WaitNotice (files/Pause.h), or is null when the wait is over. A
// registered message, so that no other window of the thread takes it for one of its own.
#include <windows.h>

inline UINT WaitNoticeMessage()
{
    static const UINT message = RegisterWindowMessageW(L"IPList: waiting for a file");
    return message;
}
