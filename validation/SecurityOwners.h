#pragma once
// Owners for the security objects the permission repair obtains: each is released on every path.
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

// Memory from LocalAlloc, or returned by the system to be freed with LocalFree.
class LocalMemory {
public:
    LocalMemory() = default;
    explicit LocalMemory(HLOCAL memory) : FMemory(memory) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    ~LocalMemory() { if (FMemory) LocalFree(FMemory); }
    void* Get() const { return FMemory; }
    void Reset(HLOCAL memory) { if (FMemory) LocalFree(FMemory); FMemory = memory; }

private:
    HLOCAL FMemory = nullptr;
};
