#include "controls/phIPAddress.h"

#include "errors/Exception.h"
#include "owners/ScopeGuard.h"

#include <commctrl.h>

TphIPAddress::TphIPAddress(TComponent* owner) : TWinControl(owner)
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
    SetHeight(25);
    SetWidth(151);
    SetTabStop(true);
}

void TphIPAddress::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = WC_IPADDRESSW;
}

void TphIPAddress::CreateWnd()
{
    FCreating = true;
    const ScopeGuard created([this] { FCreating = false; });
    TWinControl::CreateWnd();
    PushAddress();
}

void TphIPAddress::PushAddress()
{
    Perform(IPM_SETADDRESS, 0, static_cast<LPARAM>(MAKEIPADDRESS(FFirstIPAddress, FSecondIPAddress, FThirdIPAddress, FFourthIPAddress)));
}

void TphIPAddress::SetRange(int index, TFieldRange range)
{
    if (range.LowRange > range.HighRange)
        return;
    TFieldRange& cached = FFieldRanges[index];
    if (cached.LowRange == range.LowRange && cached.HighRange == range.HighRange)
        return;
    cached = range;
    Perform(IPM_SETRANGE, static_cast<WPARAM>(index), MAKEIPRANGE(range.LowRange, range.HighRange));
}

void TphIPAddress::SetAllRanges(TFieldRange range)
{
    for (int index = 0; index < 4; ++index)
        SetRange(index, range);
}

void TphIPAddress::Clear()
{
    Perform(IPM_CLEARADDRESS, 0, 0);
}

bool TphIPAddress::Blank()
{
    return Perform(IPM_ISBLANK, 0, 0) != 0;
}

std::int32_t TphIPAddress::Value()
{
    DWORD address = 0;
    Perform(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return static_cast<std::int32_t>(address);
}

void TphIPAddress::CNCommand(WORD notificationCode)
{
    switch (notificationCode) {
    case EN_SETFOCUS:
        if (FOnEnter)
            FOnEnter(this);
        break;
    case EN_KILLFOCUS:
        if (FOnExit)
            FOnExit(this);
        break;
    case EN_CHANGE:
        if (!FCreating && FOnChange)
            FOnChange(this);
        break;
    default:
        break;
    }
}

LRESULT TphIPAddress::CNNotify(NMHDR& header)
{
    if (header.code != static_cast<UINT>(IPN_FIELDCHANGED))
        return 0;
    const NMIPADDRESS& change = reinterpret_cast<const NMIPADDRESS&>(header);
    const auto octet = static_cast<std::uint8_t>(change.iValue & 0xFF);
    switch (change.iField) {
    case 0: FFirstIPAddress = octet; break;
    case 1: FSecondIPAddress = octet; break;
    case 2: FThirdIPAddress = octet; break;
    case 3: FFourthIPAddress = octet; break;
    default: break;
    }
    if (FOnFieldChange)
        FOnFieldChange(this, change.iField, change.iValue);
    return 0;
}

LRESULT TphIPAddress::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        return 0;  // the system control keeps the font it chose itself
    case WM_NOTIFYFORMAT:
        return DefWindowProcW(Handle(), message, wParam, lParam);
    default:
        return TWinControl::WndProc(message, wParam, lParam);
    }
}
