#pragma once
// The message loop of the one main window, and the processing of pending messages that lets a
// long operation on the user-interface thread keep the window painted. Tab, Enter and Escape work
// the dialog way in the main window.
#include <windows.h>

// Dispatches messages until the main window has been destroyed.
void RunMessageLoop(HWND dialog);
// Dispatches what is pending and returns; a quit request is left for the loop to find.
void ProcessPendingMessages(HWND dialog);
