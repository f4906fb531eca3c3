#include "toolkit/Application.h"
#include "toolkit/MessageBox.h"

#include <windows.h>

TModalResult ShowMessageBox(const std::wstring& text, TMsgKind kind, TMsgButtons buttons)
{
    UINT style = buttons == TMsgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (kind) {
    case TMsgKind::Error: style |= MB_ICONERROR; break;
    case TMsgKind::Information: style |= MB_ICONINFORMATION; break;
    case TMsgKind::Confirmation: style |= MB_ICONQUESTION; break;
    }
    HWND owner = GetActiveWindow();
    if (!owner && Application::MainForm())
        owner = Application::MainForm()->Handle();
    const std::wstring title = Application::Title();
    switch (MessageBoxW(owner, text.c_str(), title.c_str(), style)) {
    case IDYES: return TModalResult::Yes;
    case IDNO: return TModalResult::No;
    default: return buttons == TMsgButtons::YesNo ? TModalResult::No : TModalResult::OK;
    }
}
