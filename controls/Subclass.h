#pragma once
// A system control with a procedure of the program's in front of its own, which sees every
// message first and passes on to the control's procedure what it does not handle. The control's
// procedure is kept in the window's user data, which the system controls leave to the program.
#include <windows.h>

void Subclass(HWND control, WNDPROC procedure);
LRESULT CallControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
