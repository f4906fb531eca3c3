#pragma once
// The busy state of the window during a long operation on the user-interface thread: the busy
// cursor over the window and its controls, and the controls disabled, so that no second
// operation can start. Labels and the read-only text stay enabled: they start nothing, and a
// disabled text is hard to read. Leaving enables every control again; the window then disables
// what should stay disabled.
#include "owners/ScopeGuard.h"

#include <windows.h>

class BusyState {
public:
    void Enter(HWND dialog);
    void Leave(HWND dialog, HWND focus);
    bool Busy() const { return FBusy; }
    // For WM_SETCURSOR over the window: shows the busy cursor while busy; true when it did.
    bool ShowCursor() const;

private:
    bool FBusy = false;
};

// Runs Work inside the busy state, which is left also when Work raises, with the focus on Focus.
template <class Work>
void WhileBusy(BusyState& busy, HWND dialog, HWND focus, Work work)
{
    busy.Enter(dialog);
    const ScopeGuard leave([&] { busy.Leave(dialog, focus); });
    work();
}
