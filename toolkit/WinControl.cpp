#include "toolkit/WinControl.h"

#include "errors/Exception.h"
#include "errors/SystemError.h"
#include "toolkit/ErrorReport.h"

#include <vector>

namespace {

struct RegisteredClass {
    std::wstring SystemClass;
    std::wstring ToolkitClass;
    WNDPROC SystemProc;
};

// Each window class is registered once per process, the first time a control of it is made.
const RegisteredClass& RegisterToolkitClass(const wchar_t* systemClass, WNDPROC frontProc)
{
    static std::vector<RegisteredClass> registered;
    const std::wstring key = systemClass ? systemClass : L"";
    for (const RegisteredClass& known : registered)
        if (known.SystemClass == key)
            return known;

    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    RegisteredClass entry{key, L"T" + (key.empty() ? std::wstring(L"Form") : key), DefWindowProcW};
    if (systemClass) {
        if (!GetClassInfoExW(nullptr, systemClass, &description))
            throw Exception(L"The window class " + key + L" is not available: " + SystemErrorMessage(GetLastError()));
        entry.SystemProc = description.lpfnWndProc;
        description.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    } else {
        description.style = CS_DBLCLKS;
        description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        description.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    }
    description.cbSize = sizeof description;
    description.lpfnWndProc = frontProc;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = entry.ToolkitClass.c_str();
    description.lpszMenuName = nullptr;
    if (!RegisterClassExW(&description) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception(L"The window class " + entry.ToolkitClass + L" cannot be registered: " +
                        SystemErrorMessage(GetLastError()));
    registered.push_back(std::move(entry));
    return registered.back();
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl()
{
    DestroyHandle();
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle)
        MoveWindow(FHandle, left, top, width, height, TRUE);
}

void TWinControl::SetText(std::wstring text)
{
    FText = std::move(text);
    if (FHandle)
        SetWindowTextW(FHandle, FText.c_str());
}

void TWinControl::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    if (FHandle)
        EnableWindow(FHandle, enabled ? TRUE : FALSE);
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    CreateWnd();
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWnd();
}

void TWinControl::SetFocus()
{
    if (FHandle)
        ::SetFocus(FHandle);
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam)
{
    return FHandle ? SendMessageW(FHandle, message, wParam, lParam) : 0;
}

void TWinControl::CNCommand(WORD) {}

LRESULT TWinControl::CNNotify(NMHDR&)
{
    return 0;
}

// A toolkit window is one whose window procedure is the toolkit's; its object is kept in the
// window's user data, which the system controls leave to the application.
TWinControl* TWinControl::FromHandle(HWND window)
{
    if (!window || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != InitWndProc)
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params = TCreateParams{};
    params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    if (!FEnabled)
        params.Style |= WS_DISABLED;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    const RegisteredClass& windowClass = RegisterToolkitClass(params.SystemClass, InitWndProc);
    FDefWndProc = windowClass.SystemProc;
    const HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(FControlId)) : nullptr;
    const HWND window = CreateWindowExW(params.ExStyle, windowClass.ToolkitClass.c_str(), FText.c_str(), params.Style,
                                        params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                                        GetModuleHandleW(nullptr), this);
    if (!window)
        throw Exception(L"The window " + Name() + L" cannot be created: " + SystemErrorMessage(GetLastError()));
}

void TWinControl::DestroyWnd()
{
    DestroyWindow(FHandle);
    FHandle = nullptr;
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(FDefWndProc, FHandle, message, wParam, lParam);
}

// The screen cursor wins everywhere; otherwise a control's own cursor shows over the control and
// over the system's inner windows of it, but not over other toolkit controls placed on it.
bool TWinControl::SetCursorFor(HWND target)
{
    TCursor cursor = Screen::Cursor();
    if (cursor == crDefault && (target == FHandle || (IsChild(FHandle, target) && !FromHandle(target))))
        cursor = FCursor;
    if (cursor == crDefault)
        return false;
    ::SetCursor(CursorHandle(cursor));
    return true;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && SetCursorFor(reinterpret_cast<HWND>(wParam)))
        return TRUE;
    return DefaultHandler(message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::InitWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = FromHandle(window);
    if (!control) {
        if (message != WM_NCCREATE)
            return DefWindowProcW(window, message, wParam, lParam);
        control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->FHandle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    LRESULT result = 0;
    try {
        result = control->WndProc(message, wParam, lParam);
    } catch (...) {
        ShowDefaultErrorReport();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        control->FHandle = nullptr;
    }
    return result;
}

void TWinControl::PublishedProperties(std::vector<TOrdProperty>& properties) const
{
    TComponent::PublishedProperties(properties);
    properties.push_back({L"Cursor", [](TComponent& c, long v) { static_cast<TWinControl&>(c).SetCursor(static_cast<TCursor>(v)); }});
    properties.push_back({L"Enabled", [](TComponent& c, long v) { static_cast<TWinControl&>(c).SetEnabled(v != 0); }});
}
