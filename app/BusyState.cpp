#include "app/BusyState.h"

#include "app/MessagePump.h"

#include <string>

namespace {

bool StaysEnabledWhileBusy(HWND control)
{
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    if (std::wstring(className) == L"Static")
        return true;
    return (GetWindowLongW(control, GWL_STYLE) & ES_READONLY) != 0 && SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL;
}

void EnableControls(HWND dialog, bool enable)
{
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        if (enable || !StaysEnabledWhileBusy(control))
            EnableWindow(control, enable ? TRUE : FALSE);
}

// Moving the pointer makes the system ask the window under it for its cursor again.
void NudgeMousePointer()
{
    POINT point;
    if (!GetCursorPos(&point))
        return;
    if (!SetCursorPos(point.x + 1, point.y))
        SetCursorPos(point.x, point.y + 1);
}

}  // namespace

void BusyState::Enter(HWND dialog)
{
    FBusy = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ProcessPendingMessages(dialog);
    EnableControls(dialog, false);
    ProcessPendingMessages(dialog);
}

void BusyState::Leave(HWND dialog, HWND focus)
{
    EnableControls(dialog, true);
    if (focus)
        SetFocus(focus);
    FBusy = false;
    NudgeMousePointer();
    ProcessPendingMessages(dialog);
}

bool BusyState::ShowCursor() const
{
    if (!FBusy)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}
