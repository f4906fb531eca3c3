#include "toolkit/Cursor.h"

namespace {
TCursor ScreenCursor = crDefault;
}

HCURSOR CursorHandle(TCursor cursor)
{
    switch (cursor) {
    case crHourGlass: return LoadCursorW(nullptr, IDC_WAIT);
    default: return nullptr;
    }
}

TCursor Screen::Cursor()
{
    return ScreenCursor;
}

void Screen::SetCursor(TCursor cursor)
{
    ScreenCursor = cursor;
    if (cursor != crDefault) {
        ::SetCursor(CursorHandle(cursor));
        return;
    }
    // Let the window under the pointer choose its own cursor again, if it is one of ours: a
    // window of another program is left alone, since a send to it waits for that program, however
    // long it hangs. The pointer's next move sets that window's cursor anyway.
    POINT point;
    if (!GetCursorPos(&point))
        return;
    const HWND window = WindowFromPoint(point);
    if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}
