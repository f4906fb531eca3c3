#pragma once
// The window's explanatory text: a read-only multi-line edit control that leaves Enter, Escape and
// Tab to the dialog, since a text the user cannot change has no use for them.
#include <windows.h>

void MakeReadOnlyMemo(HWND edit);
