#include "validation/StartupValidation.h"

#include "access/Administrators.h"
#include "access/FolderAccess.h"
#include "access/PermissionRepair.h"
#include "validation/Components.h"
#include "validation/OperatingSystem.h"
#include "validation/StartupMessages.h"
#include "validation/SystemQueries.h"

namespace {

// A failed test may be a matter of permissions, which an administrator's repair can mend; the
// repeated test then decides.
void TestFolderAccess(StartupVerdict& verdict, StartupObserver& observer)
{
    const auto keepResponsive = [&] { observer.KeepResponsive(); };
    if (AccessTestPassed(FolderAccessTest(verdict.ProgramFolder, true, keepResponsive)))
        return;
    if (IsWindowsNT() && IsAdministrator())
        verdict.Repair = RepairFolderAccess(verdict.ProgramFolder, [&](std::size_t done) { observer.RepairProgress(done); });
    verdict.AccessSteps = FolderAccessTest(verdict.ProgramFolder, true, keepResponsive);
    if (!AccessTestPassed(verdict.AccessSteps))
        verdict.Problem = StartupProblem::NoFolderAccess;
}

}  // namespace

void ValidateStartupEnvironment(const OSVersionFacts& system, StartupObserver& observer, StartupVerdict& verdict)
{
    verdict = StartupVerdict();
    if (!IsSupportedRelease(system)) {
        verdict.Problem = StartupProblem::UnsupportedSystem;
        return;
    }
    verdict.ProgramFolder = QueryCurrentDirectory();
    if (!IsValidInstallLocation(verdict.ProgramFolder))
        verdict.Problem = StartupProblem::BadLocation;
    else if (!ComponentsPresent(verdict.ProgramFolder))
        verdict.Problem = StartupProblem::MissingComponents;
    else
        TestFolderAccess(verdict, observer);
}
