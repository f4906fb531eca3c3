#pragma once
// What the start-up validation found: the first check that failed, if any, and what the window
// needs to explain it. The checks show nothing; the window turns a verdict into its messages.
#include "access/AccessReport.h"
#include "access/WalkReport.h"

#include <optional>
#include <string>

enum class StartupProblem { None, UnsupportedSystem, BadLocation, MissingComponents, NoFolderAccess };

struct StartupVerdict {
    StartupProblem Problem = StartupProblem::None;
    // The program folder, read once the operating system has passed; empty before.
    std::wstring ProgramFolder;
    // What the repeated folder access test found, where the first one failed.
    StepStates AccessSteps{};
    // The permission repair, where it ran.
    std::optional<WalkReport> Repair;

    bool Failed() const { return Problem != StartupProblem::None; }
};
