#pragma once
// The start-up validation: the operating system, the install location, the product's components
// and release level, and access to the program folder, in this order, up to the first that fails.
// An administrator's failed folder access test is followed by the permission repair and the test
// once more. It shows nothing: the verdict says what the window is to explain.
#include "validation/StartupVerdict.h"
#include "validation/SupportRule.h"

#include <cstddef>

// What the window is asked for while the checks run.
class StartupObserver {
public:
    // Lets pending window messages run, at the points the checks give.
    virtual void KeepResponsive() = 0;
    // Told how many objects the permission repair has changed so far.
    virtual void RepairProgress(std::size_t objectsDone) = 0;

protected:
    ~StartupObserver() = default;
};

// Fills Verdict as it goes, so that an error passing out of a check (a release file that cannot be
// read, say) leaves what was found until then, the program folder among it.
void ValidateStartupEnvironment(const OSVersionFacts& system, StartupObserver& observer, StartupVerdict& verdict);
