#pragma once
// The busy state of a window during a long operation on the user-interface thread: the busy cursor
// everywhere and the window's controls disabled, so that no second operation can start. Leaving it
// enables every control again; callers then disable what should stay disabled.
#include "owners/ScopeGuard.h"
#include "toolkit/Cursor.h"

class TForm;
class TWinControl;

void EnterBusyState(TForm& window, TCursor cursor);
void LeaveBusyState(TForm& window, TCursor cursor, TWinControl* focusControl);

// Runs Work inside the busy state, which is left also when Work raises.
template <class Work>
void WhileBusy(TForm& window, TWinControl* focusAfterwards, Work work)
{
    EnterBusyState(window, crHourGlass);
    const ScopeGuard leave([&] { LeaveBusyState(window, crDefault, focusAfterwards); });
    work();
}
