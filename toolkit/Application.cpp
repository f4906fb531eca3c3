#include "toolkit/Application.h"

#include "files/ExceptionDetails.h"
#include "toolkit/ErrorReportText.h"
#include "toolkit/MessageBox.h"

#include <commctrl.h>


namespace {

TForm* TheMainForm = nullptr;
bool QuitReceived = false;

// Keyboard navigation of the form the message is for: Tab, Enter and Escape.
bool IsFormDialogMessage(MSG& message)
{
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    return root && dynamic_cast<TForm*>(TWinControl::FromHandle(root)) && IsDialogMessageW(root, &message);
}

void Dispatch(MSG& message)
{
    if (IsFormDialogMessage(message))
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

TForm* Application::MainForm()
{
    return TheMainForm;
}

void Application::Run(TForm& mainForm)
{
    TheMainForm = &mainForm;
    try {
        mainForm.Show();
    } catch (...) {
        HandleException();
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

void Application::HandleException()
{
    ShowMessageBox(ErrorReportText(CurrentError().Message), TMsgKind::Error, TMsgButtons::OK);
}

std::wstring Application::Title()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, length);
    const std::size_t slash = file.find_last_of(L"\\/");
    return TitleFromProgramFileName(slash == std::wstring::npos ? file : file.substr(slash + 1));
}
