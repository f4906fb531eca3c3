#include "toolkit/Application.h"

#include "toolkit/ErrorReport.h"

#include <commctrl.h>

namespace {

TForm* TheMainForm = nullptr;
bool QuitReceived = false;

// Tab, Enter and Escape work the dialog way in the main form.
void Dispatch(MSG& message)
{
    if (TheMainForm && TheMainForm->HandleAllocated() &&
        GetAncestor(message.hwnd, GA_ROOT) == TheMainForm->Handle() &&
        IsDialogMessageW(TheMainForm->Handle(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

void Application::Initialize()
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
}

void Application::Run(TForm& mainForm)
{
    TheMainForm = &mainForm;
    mainForm.MakeMainForm();
    try {
        mainForm.Show();
    } catch (...) {
        ShowDefaultErrorReport();
        TheMainForm = nullptr;
        return;
    }
    MSG message;
    while (!QuitReceived && GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(message);
    TheMainForm = nullptr;
}

void Application::ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            QuitReceived = true;
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
            return;
        }
        Dispatch(message);
    }
}
