#include "toolkit/Form.h"

#include "toolkit/StdControls.h"

#include <algorithm>

namespace {
// Above IDOK and IDCANCEL, which the dialog keys send when no control has them.
const int FirstControlId = 100;
}  // namespace

TForm::TForm() : TWinControl(nullptr) {}

TForm::~TForm()
{
    DestroyHandle();
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate();
}

void TForm::SetClientSize(int width, int height)
{
    FClientWidth = width;
    FClientHeight = height;
}

void TForm::SetFont(const wchar_t* faceName, int characterHeight)
{
    FFont.Reset(CreateFontW(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName));
}

void TForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    params.ExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    params.WndParent = nullptr;
    RECT frame{0, 0, FClientWidth, FClientHeight};
    AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
    params.Width = frame.right - frame.left;
    params.Height = frame.bottom - frame.top;
    params.X = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - params.Width) / 2);
    params.Y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - params.Height) / 2);
}

std::vector<TWinControl*> TForm::ControlsInTabOrder() const
{
    std::vector<TWinControl*> controls;
    for (std::size_t i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TWinControl*>(&Component(i)))
            controls.push_back(control);
    std::stable_sort(controls.begin(), controls.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    return controls;
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    // Windows created in tab order stand in that order for the keyboard's Tab navigation. The
    // identifiers are what the dialog keys (Enter on the default button) find controls by.
    int nextId = FirstControlId;
    for (TWinControl* control : ControlsInTabOrder()) {
        control->SetParent(this);
        control->SetControlId(nextId++);
        control->HandleNeeded();
        FRangeX = std::max(FRangeX, control->Left() + control->Width());
        FRangeY = std::max(FRangeY, control->Top() + control->Height());
        if (FFont.Valid())
            control->Perform(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(FFont)), FALSE);
    }
    UpdateScrollBars();
}

void TForm::Show()
{
    HandleNeeded();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

void TForm::Close()
{
    if (HandleAllocated())
        SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm::SetDefaultButton(TButton& button)
{
    FDefaultButton = &button;
    button.SetDefault(true);
}

void TForm::AddCancelButton(TButton& button)
{
    FCancelButtons.push_back(&button);
}

void TForm::ClickCancelButton()
{
    for (TButton* button : FCancelButtons)
        if (button->Enabled()) {
            button->Click();
            return;
        }
}

// What Enter clicks: the push button that has the focus, as the system's own dialog code tells
// one, otherwise the default button.
LRESULT TForm::DefaultButtonId() const
{
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    if (FDefaultButton)
        return MAKELRESULT(FDefaultButton->ControlId(), DC_HASDEFID);
    return 0;
}

void TForm::UpdateScrollBars()
{
    if (!FAutoScroll || FUpdatingScrollBars || !HandleAllocated())
        return;
    FUpdatingScrollBars = true;
    RECT client;
    // Twice: a bar that appears makes the client area smaller, which may call for the other bar.
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        GetClientRect(Handle(), &client);
        info.nMax = FRangeX - 1;
        info.nPage = static_cast<UINT>(client.right);
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        GetClientRect(Handle(), &client);
        info.nMax = FRangeY - 1;
        info.nPage = static_cast<UINT>(client.bottom);
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
    GetClientRect(Handle(), &client);
    ScrollTo(std::clamp(FScrollX, 0, std::max(0, FRangeX - static_cast<int>(client.right))),
             std::clamp(FScrollY, 0, std::max(0, FRangeY - static_cast<int>(client.bottom))));
    FUpdatingScrollBars = false;
}

void TForm::ScrollTo(int x, int y)
{
    const int dx = FScrollX - x;
    const int dy = FScrollY - y;
    FScrollX = x;
    FScrollY = y;
    if (dx || dy)
        ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SetScrollPos(Handle(), SB_HORZ, FScrollX, TRUE);
    SetScrollPos(Handle(), SB_VERT, FScrollY, TRUE);
}

void TForm::Scroll(int bar, WORD request)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar, &info);
    const int line = 8;
    const int page = static_cast<int>(info.nPage);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    position = std::clamp(position, 0, std::max(0, info.nMax + 1 - page));
    if (bar == SB_HORZ)
        ScrollTo(position, FScrollY);
    else
        ScrollTo(FScrollX, position);
}

bool TForm::RestoreFocus()
{
    const HWND focus = FFocusBeforeDeactivation;
    if (!focus || !IsWindow(focus) || !IsChild(Handle(), focus) || !IsWindowEnabled(focus))
        return false;
    ::SetFocus(focus);
    return true;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (TWinControl* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
            control->CNCommand(HIWORD(wParam));
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {  // Escape
            ClickCancelButton();
            return 0;
        }
        break;
    case WM_NOTIFY:
        if (auto* header = reinterpret_cast<NMHDR*>(lParam))
            if (TWinControl* control = FromHandle(header->hwndFrom))
                return control->CNNotify(*header);
        break;
    case DM_GETDEFID:
        return DefaultButtonId();
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SHOWWINDOW:
        if (wParam && OnShow)
            OnShow();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            FFocusBeforeDeactivation = GetFocus();
        } else {
            if (RestoreFocus())
                return 0;
        }
        break;
    case WM_SIZE:
        UpdateScrollBars();
        break;
    case WM_HSCROLL:
        Scroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        Scroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        if (FIsMainForm)
            PostQuitMessage(0);
        break;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}
