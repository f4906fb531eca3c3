#pragma once
// Owners for the security objects the permission repair obtains: each is released on every path.
// Descriptors and lists are LocalMemory.
#include "files/LocalMemory.h"

#include <windows.h>

// A security identifier from AllocateAndInitializeSid.
class SidOwner {
public:
    SidOwner() = default;
    SidOwner(const SidOwner&) = delete;
    SidOwner& operator=(const SidOwner&) = delete;
    ~SidOwner() { if (FSid) FreeSid(FSid); }
    PSID Get() const { return FSid; }
    PSID* Receiver() { return &FSid; }

private:
    PSID FSid = nullptr;
};
