#include "app/BusyState.h"

#include "toolkit/Application.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

#include <windows.h>

namespace {

// Labels and read-only texts stay enabled: they start nothing, and a disabled text is hard to read.
bool StaysEnabledWhileBusy(const TComponent& component)
{
    if (dynamic_cast<const TLabel*>(&component))
        return true;
    const auto* memo = dynamic_cast<const TMemo*>(&component);
    return memo && memo->ReadOnly();
}

// Timers are left alone; every other component takes the cursor, and is enabled or disabled, as
// far as it publishes those properties.
void WalkComponents(TForm& window, TCursor cursor, bool enable)
{
    for (std::size_t i = 0; i < window.ComponentCount(); ++i) {
        TComponent& component = window.Component(i);
        if (dynamic_cast<TTimer*>(&component))
            continue;
        if (component.IsPublishedProp(L"Cursor"))
            component.SetOrdProp(L"Cursor", cursor);
        if (component.IsPublishedProp(L"Enabled") && (enable || !StaysEnabledWhileBusy(component)))
            component.SetOrdProp(L"Enabled", enable ? 1 : 0);
    }
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

void EnterBusyState(TForm& window, TCursor cursor)
{
    window.SetCursor(cursor);
    Screen::SetCursor(cursor);
    Application::ProcessMessages();
    WalkComponents(window, cursor, false);
    Application::ProcessMessages();
}

void LeaveBusyState(TForm& window, TCursor cursor, TWinControl* focusControl)
{
    WalkComponents(window, cursor, true);
    if (focusControl)
        focusControl->SetFocus();
    window.SetCursor(cursor);
    Screen::SetCursor(cursor);
    NudgeMousePointer();
    Application::ProcessMessages();
}
