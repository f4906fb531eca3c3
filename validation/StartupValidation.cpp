#include "validation/StartupValidation.h"

#include "toolkit/MessageBox.h"
#include "validation/Components.h"
#include "access/FolderAccess.h"
#include "access/Administrators.h"
#include "validation/OperatingSystem.h"
#include "access/PermissionRepair.h"
#include "validation/ProgramFolder.h"
#include "validation/StartupMessages.h"
#include "validation/SystemQueries.h"

std::wstring ProgramFolder;

namespace {

bool ShutDown()
{
    ShowMessageBox(ShutDownNotice, TMsgKind::Information, TMsgButtons::OK);
    return true;
}

bool Refuse(const std::wstring& message)
{
    ShowMessageBox(message, TMsgKind::Error, TMsgButtons::OK);
    return ShutDown();
}

// A failed test may be a matter of permissions, which an administrator's repair can mend; the
// repeated test then decides, and reports what failed.
bool FolderAccessAllowed()
{
    if (FolderAccessTest(ProgramFolder, true, false))
        return true;
    if (IsWindowsNT() && IsAdministrator())
        RepairFolderAccess(ProgramFolder);  // the repeated test decides
    return FolderAccessTest(ProgramFolder, true, true);
}

}  // namespace

bool ValidateStartupEnvironment()
{
    if (!OperatingSystemSupported(true))
        return ShutDown();
    ProgramFolder = QueryCurrentDirectory();
    if (!IsValidInstallLocation(ProgramFolder))
        return Refuse(LocationMessage(ProgramFolder));
    if (!ComponentsPresent(ProgramFolder))
        return Refuse(ComponentsMessage());
    if (!FolderAccessAllowed())
        return ShutDown();
    return false;
}
