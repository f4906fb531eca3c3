// The program: it reads what the system reports about itself, makes its one window, and runs the
// window's messages until the window is gone.
#include "app/ErrorReport.h"
#include "app/MainDialog.h"
#include "app/MessagePump.h"
#include "validation/OperatingSystem.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const OSVersionFacts system = ReadOSVersionFacts();
    try {
        MainDialog dialog(system);
        const HWND window = dialog.Create();
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
        RunMessageLoop(window);
    } catch (...) {
        ShowErrorReport(nullptr);  // there is no window to own the box
    }
    return 0;
}
