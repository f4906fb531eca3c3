// The pause of the shipped program. A window that handles no message for 5 s is marked "Not
// Responding" and its user offered to end the program, and the retries wait up to 17 s and 42.5 s
// at a time: so the pause keeps dispatching the thread's messages, and tells the thread's windows
// what is waited for, with the registered message of app/WaitNotices.h. The window's busy state
// keeps the user's input out meanwhile. Pumping rather than a worker thread keeps every step of an
// operation, and every window and message box, on the one thread that owns the window.
#include "app/MessagePump.h"
#include "app/WaitNotices.h"
#include "files/Pause.h"

#include <windows.h>

#include <algorithm>

namespace {

// How often the window hears how long the wait has lasted.
const DWORD NoticeIntervalMs = 250;

BOOL CALLBACK Tell(HWND window, LPARAM notice)
{
    SendMessageW(window, WaitNoticeMessage(), 0, notice);
    return TRUE;
}

void TellWindows(const WaitNotice* notice)
{
    EnumThreadWindows(GetCurrentThreadId(), Tell, reinterpret_cast<LPARAM>(notice));
}

}  // namespace

void Pause(unsigned milliseconds, const WaitNotice& notice)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const WaitNotice sofar{notice.For, notice.WaitedMs + static_cast<unsigned>(std::min<DWORD>(elapsed, milliseconds))};
        TellWindows(&sofar);
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - elapsed, NoticeIntervalMs), QS_ALLINPUT);
        ProcessPendingMessages(nullptr);  // the window is busy: no dialog keys to translate
    }
}

void WaitOver()
{
    TellWindows(nullptr);
}
