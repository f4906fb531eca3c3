#include "app/ErrorReportText.h"
#include "app/MessageBox.h"

namespace {

// The program file's name, the way the program titles itself when it sets no title.
std::wstring ApplicationTitle()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path, length);
    const std::size_t slash = file.find_last_of(L"\\/");
    return TitleFromProgramFileName(slash == std::wstring::npos ? file : file.substr(slash + 1));
}

UINT Style(MessageKind kind, MessageButtons buttons)
{
    UINT set = MB_OK;
    if (buttons == MessageButtons::YesNo)
        set = MB_YESNO;
    if (buttons == MessageButtons::YesNoCancel)
        set = MB_YESNOCANCEL;
    switch (kind) {
    case MessageKind::Error: return set | MB_ICONERROR;
    case MessageKind::Warning: return set | MB_ICONWARNING;
    case MessageKind::Information: return set | MB_ICONINFORMATION;
    case MessageKind::Question: return set | MB_ICONQUESTION;
    }
    return set;
}

}  // namespace

// Owned by the main window, the box stands in front of it and holds it until it is answered,
// whichever window is active.
Answer ShowMessageBox(HWND owner, const std::wstring& text, MessageKind kind, MessageButtons buttons)
{
    switch (MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), Style(kind, buttons))) {
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    case IDOK: return Answer::OK;
    default: break;
    }
    // Closed, or no box could be shown: the answer that changes nothing.
    switch (buttons) {
    case MessageButtons::OK: return Answer::OK;
    case MessageButtons::YesNo: return Answer::No;
    case MessageButtons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}
