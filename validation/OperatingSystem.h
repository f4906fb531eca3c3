#pragma once
// The facts the system reports about itself, read once before the window exists, and the
// questions the start-up validation asks about the system.
#include "validation/SupportRule.h"

#include <windows.h>

OSVersionFacts ReadOSVersionFacts();
bool Is64BitWindows();
// Asks the system afresh, without the recorded facts.
bool IsWindowsNT();

// The probe over a given GetSystemWow64DirectoryA entry (nullptr: there is none).
using Wow64DirectoryEntry = UINT(WINAPI*)(LPSTR buffer, UINT size);
bool Is64BitWindowsUsing(Wow64DirectoryEntry entry);
