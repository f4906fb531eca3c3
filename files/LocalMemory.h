#pragma once
#include <windows.h>

// Memory from LocalAlloc, or handed out by the system to be freed with LocalFree.
class LocalMemory {
public:
    LocalMemory() = default;
    explicit LocalMemory(HLOCAL memory) : FMemory(memory) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    ~LocalMemory() { if (FMemory) LocalFree(FMemory); }
    void* Get() const { return FMemory; }
    void Reset(HLOCAL memory) { if (FMemory) LocalFree(FMemory); FMemory = memory; }
    // For calls that allocate the memory themselves and hand back its address.
    HLOCAL* Receiver() { Reset(nullptr); return &FMemory; }

private:
    HLOCAL FMemory = nullptr;
};
