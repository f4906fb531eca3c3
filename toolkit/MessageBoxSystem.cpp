#include "toolkit/ErrorReportText.h"
#include "toolkit/MessageBox.h"

#include <windows.h>

namespace {

// The program file's name, the way the application titles itself when it sets no title.
std::wstring ApplicationTitle()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path, length);
    const std::size_t slash = file.find_last_of(L"\\/");
    return TitleFromProgramFileName(slash == std::wstring::npos ? file : file.substr(slash + 1));
}

}  // namespace

TModalResult ShowMessageBox(const std::wstring& text, TMsgKind kind, TMsgButtons buttons)
{
    UINT style = buttons == TMsgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (kind) {
    case TMsgKind::Error: style |= MB_ICONERROR; break;
    case TMsgKind::Information: style |= MB_ICONINFORMATION; break;
    case TMsgKind::Confirmation: style |= MB_ICONQUESTION; break;
    }
    // Owned by the program's active window; when another program is in front, the box still
    // holds every window of this thread until it is answered.
    const HWND owner = GetActiveWindow();
    if (!owner)
        style |= MB_TASKMODAL;
    switch (MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), style)) {
    case IDYES: return TModalResult::Yes;
    case IDNO: return TModalResult::No;
    default: return buttons == TMsgButtons::YesNo ? TModalResult::No : TModalResult::OK;
    }
}
