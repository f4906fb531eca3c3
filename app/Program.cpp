// The program block. Module start runs here, in this order, rather than in static initialisers
// whose order C++ leaves open: the shared strings first, then the operating-system facts.
#include "app/Main.h"
#include "text/SharedStrings.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"
#include "validation/OperatingSystem.h"

#include <windows.h>

namespace {

void RunProgram()
{
    Application::Initialize();
    TfrmManageIPAddresses mainWindow;
    frmManageIPAddresses = &mainWindow;
    Application::Run(mainWindow);
    frmManageIPAddresses = nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    StartSharedStrings();
    ReadOSVersionFacts();
    try {
        RunProgram();
    } catch (...) {
        ShowDefaultErrorReport();
    }
    StopSharedStrings();
    return 0;
}
