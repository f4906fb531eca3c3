#pragma once
// Whether the user may have the permission repair run: a member of the built-in Administrators
// group.

// Whether the thread's token, or the process's where the thread has none, lists Administrators
// (also for deny-only use).
bool IsAdministrator();
