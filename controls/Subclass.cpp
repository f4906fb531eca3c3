#include "controls/Subclass.h"

void Subclass(HWND control, WNDPROC procedure)
{
    const LONG_PTR previous = SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetWindowLongPtrW(control, GWLP_USERDATA, previous);
}

LRESULT CallControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
    return procedure ? CallWindowProcW(procedure, control, message, wParam, lParam)
                     : DefWindowProcW(control, message, wParam, lParam);
}
