#include "controls/phIPAddress.h"

#include "controls/Subclass.h"
#include "errors/Exception.h"
#include "errors/SystemError.h"
#include "owners/ScopeGuard.h"

#include <commctrl.h>

namespace {

LRESULT CALLBACK AddressControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        return 0;  // the system control keeps the font it chose itself
    case WM_NOTIFYFORMAT:
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return CallControlProcedure(window, message, wParam, lParam);
    }
}

}  // namespace

TphIPAddress::TphIPAddress()
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = 8;
    classes.dwICC = ICC_INTERNET_CLASSES | ICC_BAR_CLASSES;
    if (!InitCommonControlsEx(&classes)) {
        InitCommonControls();
        throw EComponentError(L"This control requires version 4.70 or greater of COMCTL32.DLL");
    }
    for (TFieldRange& range : FFieldRanges)
        range = TFieldRange{0, 255};
}

void TphIPAddress::Create(HWND parent, int id, const RECT& bounds)
{
    FCreating = true;
    const ScopeGuard created([this] { FCreating = false; });
    FWindow = CreateWindowExW(0, WC_IPADDRESSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!FWindow)
        throw Exception(L"The address control cannot be created: " + SystemErrorMessage(GetLastError()));
    Subclass(FWindow, AddressControlProcedure);
    PushAddress();
}

LRESULT TphIPAddress::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return FWindow ? SendMessageW(FWindow, message, wParam, lParam) : 0;
}

void TphIPAddress::PushAddress()
{
    Send(IPM_SETADDRESS, 0, static_cast<LPARAM>(MAKEIPADDRESS(FFirstIPAddress, FSecondIPAddress, FThirdIPAddress, FFourthIPAddress)));
}

void TphIPAddress::SetRange(int index, TFieldRange range)
{
    if (range.LowRange > range.HighRange)
        return;
    TFieldRange& cached = FFieldRanges[index];
    if (cached.LowRange == range.LowRange && cached.HighRange == range.HighRange)
        return;
    cached = range;
    Send(IPM_SETRANGE, static_cast<WPARAM>(index), MAKEIPRANGE(range.LowRange, range.HighRange));
}

void TphIPAddress::SetAllRanges(TFieldRange range)
{
    for (int index = 0; index < 4; ++index)
        SetRange(index, range);
}

void TphIPAddress::Clear()
{
    Send(IPM_CLEARADDRESS, 0, 0);
}

bool TphIPAddress::Blank() const
{
    return Send(IPM_ISBLANK, 0, 0) != 0;
}

std::int32_t TphIPAddress::Value() const
{
    DWORD address = 0;
    Send(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return static_cast<std::int32_t>(address);
}

void TphIPAddress::OnCommand(WORD notificationCode)
{
    switch (notificationCode) {
    case EN_SETFOCUS:
        if (OnEnter)
            OnEnter(this);
        break;
    case EN_KILLFOCUS:
        if (OnExit)
            OnExit(this);
        break;
    case EN_CHANGE:
        if (!FCreating && OnChange)
            OnChange(this);
        break;
    default:
        break;
    }
}

void TphIPAddress::OnNotify(const NMHDR& header)
{
    if (header.code != static_cast<UINT>(IPN_FIELDCHANGED))
        return;
    const NMIPADDRESS& change = reinterpret_cast<const NMIPADDRESS&>(header);
    const auto octet = static_cast<std::uint8_t>(change.iValue & 0xFF);
    switch (change.iField) {
    case 0: FFirstIPAddress = octet; break;
    case 1: FSecondIPAddress = octet; break;
    case 2: FThirdIPAddress = octet; break;
    case 3: FFourthIPAddress = octet; break;
    default: break;
    }
    if (OnFieldChange)
        OnFieldChange(this, change.iField, change.iValue);
}
