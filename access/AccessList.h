#pragma once
// The rewrite of one object's access list for the permission repair: every entry for a group
// taken out and one allow entry for it put first.
#include "owners/Owners.h"

#include <windows.h>

constexpr DWORD RepairAccessMask = 0xE0010000;  // GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | DELETE

bool CreateEveryoneSid(SidOwner& sid);

// The access list with every entry for Sid removed and one allow entry for it put first.
// False when the list cannot be read or the new one would not fit the 16-bit size of a list.
bool RewriteAccessList(PACL oldList, PSID sid, DWORD accessMask, bool isFolder, bool markInherited, LocalMemory& newList);

// Rewrites the access list of the object open at Object (opened with READ_CONTROL and WRITE_DAC),
// keeping the list's protection from inheritance and its automatic inheritance as they were. The
// new list is written to that object alone: the system's own propagation of inheritable entries
// to the objects below is not started, since it walks by name and could pass through a link; the
// repair's walk gives every object below its entry itself. Answers the system's error code, 0
// when the list was written.
DWORD GrantAccessToHandle(HANDLE object, bool isFolder, PSID sid, DWORD accessMask, bool markInherited);
