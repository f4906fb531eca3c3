#pragma once
// The install-location rule and the messages of the start-up validation.
#include <string>

// X:\Folder: a drive letter C to Z, a colon, a backslash, and a folder whose name begins with an
// ASCII letter or digit. Letters are compared as capitals; nothing after the fourth character counts.
bool IsValidInstallLocation(const std::wstring& folder);
std::wstring LocationMessage(const std::wstring& folder);
std::wstring ComponentsMessage();
extern const wchar_t ShutDownNotice[];
