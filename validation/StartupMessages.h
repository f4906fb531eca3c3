#pragma once
// The install-location rule, and the messages the window shows for what the start-up validation
// found.
#include "validation/StartupVerdict.h"

#include <string>
#include <vector>

// X:\Folder: a drive letter C to Z, a colon, a backslash, and a folder whose name begins with an
// ASCII letter or digit. Letters are compared as capitals; nothing after the fourth character counts.
bool IsValidInstallLocation(const std::wstring& folder);
std::wstring LocationMessage(const std::wstring& folder);
std::wstring ComponentsMessage();
extern const wchar_t ShutDownNotice[];

// A permission repair that stopped: where, why (the system's text for its error), and what it
// had done and left alone until then.
std::wstring RepairStoppedMessage(const WalkReport& repair, const std::wstring& reason);

enum class NoticeKind { Error, Warning, Information };
struct StartupNotice {
    NoticeKind Kind;
    std::wstring Text;
    bool Beep;  // the warning sound before the box, as the failed folder access test has it
};
// The boxes for Verdict, in the order they are shown; RepairReason is the system's text for the
// repair's error, where the repair stopped. A failed check ends with the shut-down notice.
std::vector<StartupNotice> StartupNotices(const StartupVerdict& verdict, const std::wstring& repairReason);
