#include "app/MainDialog.h"

#include "app/AddressListFile.h"
#include "app/ButtonPictures.h"
#include "app/ErrorReport.h"
#include "app/ListBoxView.h"
#include "app/MessageBox.h"
#include "app/MessagePump.h"
#include "app/WaitNotices.h"
#include "app/resource.h"
#include "controls/ReadOnlyMemo.h"
#include "errors/Exception.h"
#include "errors/SystemError.h"
#include "owners/ScopeGuard.h"
#include "text/SharedStrings.h"
#include "validation/StartupMessages.h"

#include <algorithm>

namespace {

const wchar_t AllZerosMessage[] = L"The I.P. address is all zeros.  Please specify a valid address.";
const wchar_t AlreadyListedMessage[] = L"That address already exists in the list.";
const wchar_t DeleteQuestion[] = L"Are you sure you want to delete the selected address(es) from the list?";
const wchar_t CancelQuestion[] =
    L"Changes made to the I.P. address list have not been saved.  Are you sure you want to cancel?";

std::wstring KeepBothQuestion(const std::wstring& path)
{
    return L"Another program or workstation has changed the following file since this window read it:" + LineBreak + path +
           ParagraphBreak + L"Do you want to keep both sides' changes?" + ParagraphBreak +
           L"Yes: this window's additions and deletions are made to the list as the file now holds it." + LineBreak +
           L"No: this window's list replaces the file." + LineBreak + L"Cancel: nothing is saved.";
}

const UINT_PTR StartUpTimer = 1;
const UINT StartUpDelayMs = 300;

// The layout of the client area in pixels at 96 DPI, which the 8-point font's dialog units do not
// give exactly on every system; at another screen scale every edge is scaled by it (Scaled), and
// the font, which the dialog manager makes at the system's scale, with them. The labels then take
// the width their texts need.
struct Placement {
    int Id;
    int Left, Top, Width, Height;
};
const Placement Layout[] = {
    {IDC_ADDRESS_LABEL, 6, 123, 94, 13}, {IDC_LIST_LABEL, 382, 123, 113, 13}, {IDC_ADD, 177, 144, 190, 25},
    {IDC_LIST, 382, 144, 126, 221},      {IDC_DELETE, 524, 144, 216, 25},    {IDC_EXPLANATION, 3, 2, 745, 113},
    {IDOK, 6, 336, 75, 25},              {IDC_CANCEL, 100, 336, 75, 25},     {IDC_APPLY, 199, 336, 75, 25},
};
const RECT AddressBounds{6, 144, 6 + 151, 144 + 25};
const int ClientWidth = 748, ClientHeight = 374;
const int ListItemHeight = 13;
const int PictureSize = 16;

// A position of the 96-DPI layout at the screen's scale. Edges are scaled, not sizes, each rounded
// once, so that controls that meet at 96 DPI neither overlap nor part at any scale.
int Scaled(int position, int dpi)
{
    return (position * dpi + 48) / 96;  // positions are never negative
}

RECT Scaled(const RECT& bounds, int dpi)
{
    return {Scaled(bounds.left, dpi), Scaled(bounds.top, dpi), Scaled(bounds.right, dpi), Scaled(bounds.bottom, dpi)};
}

// The system's scale, which a program that declares itself DPI-aware lays itself out for.
int ScreenDpi()
{
    const WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

// At least as high as the list's font, so that no entry is cut at the bottom.
int ItemHeightFor(HWND list, int dpi)
{
    TEXTMETRICW metrics{};
    const WindowDC dc(list);
    const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    const int fontHeight = dc && GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    return std::max(Scaled(ListItemHeight, dpi), fontHeight);
}

bool IsPrintableAscii(wchar_t c)
{
    return c >= 0x20 && c < 0x7F;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The list box's own exact search compares whole entries this way, ignoring letter case. Where
// both are printable ASCII and one has no letters, the comparison can neither fold nor ignore a
// character (as it may a control character, or a letter by the rules of a Turkish locale), so an
// address is compared without a system call an entry.
bool SameEntryIgnoringCase(std::wstring_view entry, std::wstring_view address)
{
    if (std::all_of(address.begin(), address.end(), [](wchar_t c) { return IsPrintableAscii(c) && !IsAsciiLetter(c); }) &&
        std::all_of(entry.begin(), entry.end(), IsPrintableAscii))
        return entry == address;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, entry.data(), static_cast<int>(entry.size()), address.data(),
                          static_cast<int>(address.size())) == CSTR_EQUAL;
}

MessageKind KindOf(NoticeKind kind)
{
    switch (kind) {
    case NoticeKind::Error: return MessageKind::Error;
    case NoticeKind::Warning: return MessageKind::Warning;
    case NoticeKind::Information: return MessageKind::Information;
    }
    return MessageKind::Error;
}

void FitToText(HWND label)
{
    wchar_t text[256] = L"";
    const int length = GetWindowTextW(label, text, 256);
    SIZE extent{};
    {
        const WindowDC dc(label);
        const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        if (!dc || !GetTextExtentPoint32W(dc, text, length, &extent))
            return;
    }
    RECT bounds;
    GetClientRect(label, &bounds);
    SetWindowPos(label, nullptr, 0, 0, extent.cx, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client area of the layout's size, in the middle of the screen.
void PlaceWindow(HWND window, int dpi)
{
    RECT frame{0, 0, Scaled(ClientWidth, dpi), Scaled(ClientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2),
                 std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainDialog::MainDialog(const OSVersionFacts& system) : FSystem(system), FEditor(SameEntryIgnoringCase) {}

MainDialog::~MainDialog()
{
    if (FWindow)
        DestroyWindow(FWindow);
}

HWND MainDialog::Create()
{
    if (!CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, Procedure,
                            reinterpret_cast<LPARAM>(this)))
        throw Exception(L"The window cannot be created: " + SystemErrorMessage(GetLastError()));
    return FWindow;
}

INT_PTR CALLBACK MainDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog)
        return FALSE;  // the messages of the window's making, before it is ours
    if (message == WM_INITDIALOG)
        dialog->FWindow = window;
    try {
        return dialog->Dispatch(message, wParam, lParam);
    } catch (...) {
        ShowErrorReport(window);
        return TRUE;
    }
}

INT_PTR MainDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(FWindow);
        return TRUE;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0);
        return FALSE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_SETCURSOR:
        if (!OnSetCursor(LOWORD(lParam)))
            return FALSE;
        SetWindowLongPtrW(FWindow, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_SIZE:
        FLayout.Resized(FWindow);
        return FALSE;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam)
            return FALSE;  // a control's own scroll bar
        FLayout.Scroll(FWindow, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_NCDESTROY:
        FWindow = nullptr;
        return FALSE;
    default:
        if (message != WaitNoticeMessage())
            return FALSE;
        OnWaitNotice(reinterpret_cast<const WaitNotice*>(lParam));
        return TRUE;
    }
}

void MainDialog::OnInitDialog(HWND window)
{
    wchar_t title[128] = L"";
    GetWindowTextW(window, title, 128);
    FTitle = title;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    const int dpi = ScreenDpi();
    int right = 0, bottom = 0;
    for (const Placement& place : Layout) {
        const RECT bounds = Scaled(RECT{place.Left, place.Top, place.Left + place.Width, place.Top + place.Height}, dpi);
        MoveWindow(Control(place.Id), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, FALSE);
        right = std::max(right, static_cast<int>(bounds.right));
        bottom = std::max(bottom, static_cast<int>(bounds.bottom));
    }
    MakeReadOnlyMemo(Control(IDC_EXPLANATION));
    FAddress.Create(window, IDC_ADDRESS, Scaled(AddressBounds, dpi));
    SetWindowPos(FAddress.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // last in tab order
    FitToText(Control(IDC_ADDRESS_LABEL));
    FitToText(Control(IDC_LIST_LABEL));
    SendMessageW(Control(IDC_LIST), LB_SETITEMHEIGHT, 0, MAKELPARAM(ItemHeightFor(Control(IDC_LIST), dpi), 0));
    const int pictureSize = Scaled(PictureSize, dpi);
    SetButtonPicture(Control(IDC_ADD), ScaledPicture(AddPicture(), pictureSize), FPictures[0]);
    SetButtonPicture(Control(IDC_DELETE), ScaledPicture(DeletePicture(), pictureSize), FPictures[1]);
    SetButtonPicture(Control(IDOK), ScaledPicture(OkPicture(), pictureSize), FPictures[2]);
    SetButtonPicture(Control(IDC_CANCEL), ScaledPicture(CancelPicture(), pictureSize), FPictures[3]);
    ShowEditor();
    PlaceWindow(window, dpi);
    FLayout.SetExtent(window, right, bottom);
}

void MainDialog::OnShowWindow(bool shown)
{
    if (!shown || FStartUpArmed)
        return;
    FStartUpArmed = true;  // later shows do not start it again
    SetTimer(FWindow, StartUpTimer, StartUpDelayMs, nullptr);
}

void MainDialog::OnTimer(UINT_PTR timer)
{
    if (timer != StartUpTimer)
        return;
    KillTimer(FWindow, StartUpTimer);
    StartUp();
}

void MainDialog::OnCommand(WORD id, WORD code, HWND control)
{
    if (control && control == FAddress.Handle()) {
        FAddress.OnCommand(code);
        return;
    }
    if (code != BN_CLICKED || FBusy.Busy())
        return;  // while busy, the pauses dispatch messages: a button the user could not press starts nothing
    switch (id) {
    case IDC_ADD: OnAdd(); break;
    case IDC_DELETE: OnDelete(); break;
    case IDC_APPLY: OnApply(); break;
    case IDOK: OnOk(); break;  // the button, or Enter
    case IDC_CANCEL: OnCancel(); break;
    case IDCANCEL: OnEscape(); break;  // no control has this identifier: only Escape sends it
    default: break;
    }
}

void MainDialog::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom == FAddress.Handle())
        FAddress.OnNotify(header);
}

bool MainDialog::OnSetCursor(WORD hitTest)
{
    return hitTest == HTCLIENT && FBusy.ShowCursor();
}

// The close box and the system menu close the window without asking or saving; during a long
// operation, once it has ended.
void MainDialog::OnClose()
{
    if (FBusy.Busy()) {
        FCloseWhenIdle = true;
        return;
    }
    Close();
}

void MainDialog::Close()
{
    DestroyWindow(FWindow);
}

template <class Work>
void MainDialog::WhileBusy(Work work)
{
    const ScopeGuard closeIfAsked([this] {
        if (FCloseWhenIdle && FWindow)
            PostMessageW(FWindow, WM_CLOSE, 0, 0);
    });
    ::WhileBusy(FBusy, FWindow, FAddress.Handle(), work);
}

void MainDialog::StartUp()
{
    StartupVerdict verdict;
    {
        // Should an error pass, the list was not read: neither Delete nor Apply may lead to a save.
        ScopeGuard refuseSaving([&] {
            FEditor.LoadFailed();
            ShowEditor();
        });
        WhileBusy([&] {
            {
                // What the checks found until an error passed, the folder among it; the title
                // without the repair's count.
                const ScopeGuard takeFindings([&] {
                    FProgramFolder = verdict.ProgramFolder;
                    SetWindowTextW(FWindow, FTitle.c_str());
                });
                ValidateStartupEnvironment(FSystem, *this, verdict);
            }
            ShowNotices(verdict);
            if (!verdict.Failed()) {
                ListFile list = ReadAddressList(FProgramFolder);
                const HiddenText hidden = list.Hidden;
                FEditor.Load(std::move(list));
                ShowEntries(Control(IDC_LIST), FEditor.Items());
                ProcessPendingMessages(FWindow);
                if (hidden.Any())
                    ShowMessageBox(FWindow, HiddenTextMessage(AddressListPath(FProgramFolder), hidden), MessageKind::Information,
                                   MessageButtons::OK);
            }
        });
        refuseSaving.Dismiss();
    }
    ShowSelection(Control(IDC_LIST), FEditor.Selection());
    ProcessPendingMessages(FWindow);
    ShowEditor();
    if (verdict.Failed())
        PostMessageW(FWindow, WM_CLOSE, 0, 0);
}

void MainDialog::ShowNotices(const StartupVerdict& verdict)
{
    const std::wstring repairReason = verdict.Repair ? SystemErrorMessage(verdict.Repair->Error) : std::wstring();
    for (const StartupNotice& notice : StartupNotices(verdict, repairReason)) {
        if (notice.Beep)
            MessageBeep(MB_ICONEXCLAMATION);
        ShowMessageBox(FWindow, notice.Text, KindOf(notice.Kind), MessageButtons::OK);
    }
}

void MainDialog::ShowEditor()
{
    EnableWindow(Control(IDC_DELETE), FEditor.DeleteEnabled() ? TRUE : FALSE);
    EnableWindow(Control(IDC_APPLY), FEditor.ApplyEnabled() ? TRUE : FALSE);
}

bool MainDialog::Ask(const wchar_t* question)
{
    return ShowMessageBox(FWindow, question, MessageKind::Question, MessageButtons::YesNo) == Answer::Yes;
}

void MainDialog::Tell(const wchar_t* refusal)
{
    ShowMessageBox(FWindow, refusal, MessageKind::Error, MessageButtons::OK);
}

void MainDialog::OnAdd()
{
    const HWND list = Control(IDC_LIST);
    // What the control shows, not what it last reported: a field emptied by the user reports
    // nothing, or -1.
    const auto shown = static_cast<std::uint32_t>(FAddress.Value());
    switch (FEditor.Add({static_cast<std::uint8_t>(shown >> 24), static_cast<std::uint8_t>(shown >> 16),
                         static_cast<std::uint8_t>(shown >> 8), static_cast<std::uint8_t>(shown)})) {
    case AddResult::AllZeros: Tell(AllZerosMessage); break;
    case AddResult::AlreadyListed: Tell(AlreadyListedMessage); break;
    case AddResult::Added: {
        const std::size_t index = FEditor.Selection().front();
        InsertEntry(list, index, FEditor.Items()[index]);
        ShowSelection(list, FEditor.Selection());
        ShowEditor();
        break;
    }
    }
    SendMessageW(FWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    ProcessPendingMessages(FWindow);
}

void MainDialog::OnDelete()
{
    if (!Ask(DeleteQuestion))
        return;
    const HWND list = Control(IDC_LIST);
    FEditor.Delete(SelectedEntries(list));
    RemoveEntries(list, FEditor.Removed(), FEditor.Items());
    ShowSelection(list, FEditor.Selection());
    ShowEditor();
}

void MainDialog::OnApply()
{
    Save();
    ProcessPendingMessages(FWindow);
}

void MainDialog::OnOk()
{
    switch (FEditor.Ok()) {
    case Request::Close: Close(); break;
    default:
        if (Save())
            Close();
        break;
    }
}

void MainDialog::OnCancel()
{
    if (FEditor.Cancel() == Request::AskThenClose && !Ask(CancelQuestion))
        return;
    Close();
}

// Escape presses Delete while it is enabled, and Cancel otherwise; during a long operation,
// when every button is disabled, nothing.
void MainDialog::OnEscape()
{
    if (FBusy.Busy())
        return;
    if (FEditor.Escape() == EscapePresses::Delete)
        OnDelete();
    else
        OnCancel();
}

// The file is read as it is now before anything is written. Where another program or workstation
// has changed it since the window read or wrote it, the user decides whether to keep both sides'
// changes, to replace the file, or to save nothing; and so again where it changes once more
// before the new list takes its place.
bool MainDialog::Save()
{
    if (FEditor.Apply() == Request::RefuseUnread)
        throw Exception(L"The server address list has not been read from " + AddressListPath(FProgramFolder) +
                        L", so it is not saved: saving would replace the file with an incomplete list.");
    bool saved = false;
    {
        ScopeGuard failed([this] {
            FEditor.SaveFailed();
            ShowEditor();
        });
        WhileBusy([&] {
            while (!saved) {
                // The file is compared with the bytes the window remembers; only a changed one is read
                // whole, and read as a list only where the user keeps both sides' changes.
                std::optional<ListFileState> changed;
                if (!AddressListIsAsBefore(FProgramFolder, FEditor.BaseState()))
                    changed = ReadAddressListState(FProgramFolder);
                if (changed && !FEditor.FileUnchanged(*changed)) {
                    const Answer answer = ShowMessageBox(FWindow, KeepBothQuestion(AddressListPath(FProgramFolder)),
                                                         MessageKind::Question, MessageButtons::YesNoCancel);
                    if (answer == Answer::Cancel)
                        return;
                    if (answer == Answer::Yes) {
                        FEditor.Merge(ParseAddressList(FProgramFolder, FEditor.BaseState()).Lines,
                                      ParseAddressList(FProgramFolder, *changed));
                        ShowEntries(Control(IDC_LIST), FEditor.Items());
                        ShowSelection(Control(IDC_LIST), FEditor.Selection());
                    }
                }
                const ListFileState& expected = changed ? *changed : FEditor.BaseState();
                if (const auto written = WriteAddressList(FProgramFolder, FEditor.Items(), FEditor.Frame(), expected)) {
                    FEditor.Saved(*written);
                    saved = true;
                }
            }
            ProcessPendingMessages(FWindow);
        });
        failed.Dismiss();
    }
    ShowEditor();
    return saved;
}

// A wait of more than a second says in the title what it waits for and how long it has so far.
void MainDialog::OnWaitNotice(const WaitNotice* notice)
{
    std::wstring title = FTitle;
    if (notice && notice->WaitedMs >= 1000)
        title += L" - waiting for " + notice->For + L": " + std::to_wstring(notice->WaitedMs / 1000) + L" s";
    else if (notice)
        return;
    wchar_t shown[256] = L"";
    GetWindowTextW(FWindow, shown, 256);
    if (title != shown)
        SetWindowTextW(FWindow, title.c_str());
}

void MainDialog::KeepResponsive()
{
    ProcessPendingMessages(FWindow);
}

// A long repair shows that it is working: after a second, the title counts the objects done,
// and the window repaints a few times a second.
void MainDialog::RepairProgress(std::size_t objectsDone)
{
    const DWORD now = GetTickCount();
    if (objectsDone == 0) {
        FRepairStarted = FRepairShown = now;
        return;
    }
    if (now - FRepairShown < 200)
        return;
    FRepairShown = now;
    if (now - FRepairStarted >= 1000)
        SetWindowTextW(FWindow, (FTitle + L" - repairing folder permissions: " + std::to_wstring(objectsDone) + L" objects done")
                                    .c_str());
    ProcessPendingMessages(FWindow);
}
