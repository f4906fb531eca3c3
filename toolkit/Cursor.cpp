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
    // Let the window under the pointer choose its own cursor again.
    POINT point;
    if (!GetCursorPos(&point))
        return;
    if (HWND window = WindowFromPoint(point))
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}
