#pragma once
// The IPv4 address entry control: the system's "SysIPAddress32" (four one-octet fields with dots
// between them) behind an object that keeps a copy of the four octets and field ranges, pushes
// the copied address into the window it is given, learns each edited field from the control's
// field-changed notification, and turns the control's notifications into events.
//
// The window is made at its exact size, since the system control lays out its four fields once,
// when it is made. A procedure in front of the system control's keeps the font the control chose
// itself and answers WM_NOTIFYFORMAT with the default procedure; the parent hands the
// notifications it receives from the control to OnCommand and OnNotify.
#include <windows.h>

#include <cstdint>
#include <functional>

struct TFieldRange {
    std::uint8_t LowRange;
    std::uint8_t HighRange;
};

class TphIPAddress;
using TNotifyEvent = std::function<void(TphIPAddress* sender)>;
using TphFieldChange = std::function<void(TphIPAddress* sender, std::int32_t field, std::int32_t value)>;

class TphIPAddress {
public:
    // Initialises the common controls' address class; a system whose common controls have none
    // raises EComponentError.
    TphIPAddress();
    // Makes the control's window, a child of Parent, and pushes the copied address into it.
    void Create(HWND parent, int id, const RECT& bounds);
    HWND Handle() const { return FWindow; }

    // Empties the four fields of the window; the copied octets stay as they are.
    void Clear();
    void SetAllRanges(TFieldRange range);

    bool Blank() const;
    // The address the window shows, first octet in the high byte; blank fields count as 0.
    std::int32_t Value() const;

    TFieldRange FirstRange() const { return FFieldRanges[0]; }
    TFieldRange SecondRange() const { return FFieldRanges[1]; }
    TFieldRange ThirdRange() const { return FFieldRanges[2]; }
    TFieldRange FourthRange() const { return FFieldRanges[3]; }
    void SetFirstRange(TFieldRange range) { SetRange(0, range); }
    void SetSecondRange(TFieldRange range) { SetRange(1, range); }
    void SetThirdRange(TFieldRange range) { SetRange(2, range); }
    void SetFourthRange(TFieldRange range) { SetRange(3, range); }

    // The copied octets: what was last assigned or last reported by the window, whichever came later.
    std::uint8_t Field1() const { return FFirstIPAddress; }
    std::uint8_t Field2() const { return FSecondIPAddress; }
    std::uint8_t Field3() const { return FThirdIPAddress; }
    std::uint8_t Field4() const { return FFourthIPAddress; }
    void SetField1(std::uint8_t value) { FFirstIPAddress = value; PushAddress(); }
    void SetField2(std::uint8_t value) { FSecondIPAddress = value; PushAddress(); }
    void SetField3(std::uint8_t value) { FThirdIPAddress = value; PushAddress(); }
    void SetField4(std::uint8_t value) { FFourthIPAddress = value; PushAddress(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TphFieldChange OnFieldChange;

    // The notifications the dialog receives from the control's window.
    void OnCommand(WORD notificationCode);
    void OnNotify(const NMHDR& header);

private:
    // Sends to the window; without one a message has no effect and answers 0.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    void PushAddress();
    void SetRange(int index, TFieldRange range);

    HWND FWindow = nullptr;
    bool FCreating = false;
    TFieldRange FFieldRanges[4];
    std::uint8_t FFirstIPAddress = 0;
    std::uint8_t FSecondIPAddress = 0;
    std::uint8_t FThirdIPAddress = 0;
    std::uint8_t FFourthIPAddress = 0;
};
