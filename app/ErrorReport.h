#pragma once
// The default error report: an error that leaves a handler of the window is shown in an error box
// owned by the window, and the program goes on. Call it from inside a catch block.
#include <windows.h>

void ShowErrorReport(HWND owner);
