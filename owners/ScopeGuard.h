#pragma once
// Runs a clean-up when the scope ends, whether it ends normally or by an error passing through.
#include <utility>

template <class CleanUp>
class ScopeGuard {
public:
    explicit ScopeGuard(CleanUp cleanUp) : FCleanUp(std::move(cleanUp)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard()
    {
        if (FArmed)
            FCleanUp();
    }
    // The work succeeded and the clean-up is not wanted after all.
    void Dismiss() { FArmed = false; }

private:
    CleanUp FCleanUp;
    bool FArmed = true;
};
