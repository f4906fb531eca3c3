#pragma once
// What the validation asks the system, reached through one place: the shipped program links the
// system's answers; a test-only build links posed ones (an old release, a UNC current directory)
// that Wine cannot give a program.
#include <windows.h>

#include <string>

// GetVersionExW into a record whose size field the caller has set.
bool QueryOSVersion(OSVERSIONINFOW& info);
std::wstring QueryCurrentDirectory();

// The system's own answers, whichever queries are linked.
bool SystemOSVersion(OSVERSIONINFOW& info);
std::wstring SystemCurrentDirectory();
