#pragma once
// The operating-system facts, recorded once by the module start sequence before the window exists,
// and the questions the start-up validation asks about the system.
#include "validation/SupportRule.h"

#include <windows.h>

#include <cstdint>
#include <string>

extern PlatformClass OSPlatformClass;
extern std::int32_t OSMajorVersion;
extern std::int32_t OSMinorVersion;
extern std::int32_t OSBuildNumber;
extern std::wstring OSServicePack;

void ReadOSVersionFacts();
bool Is64BitWindows();
// True when the recorded facts name a supported release; otherwise, when asked, says so first.
bool OperatingSystemSupported(bool reportIfUnsupported);
// Asks the system afresh, without the recorded facts.
bool IsWindowsNT();

// The probe over a given GetSystemWow64DirectoryA entry (nullptr: there is none).
using Wow64DirectoryEntry = UINT(WINAPI*)(LPSTR buffer, UINT size);
bool Is64BitWindowsUsing(Wow64DirectoryEntry entry);
