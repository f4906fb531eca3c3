#pragma once
// The IPv4 address entry control: the system's "SysIPAddress32" (four one-octet fields with dots
// between them) behind a control that keeps a copy of the four octets and field ranges, pushes the
// copied address into every window it gets, learns each edited field from the control's
// field-changed notification, and turns the control's notifications into events.
#include "toolkit/WinControl.h"

#include <cstdint>
#include <functional>

struct TFieldRange {
    std::uint8_t LowRange;
    std::uint8_t HighRange;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TphFieldChange = std::function<void(TComponent* sender, std::int32_t field, std::int32_t value)>;

class TphIPAddress : public TWinControl {
public:
    explicit TphIPAddress(TComponent* owner);

    // Empties the four fields of the window; the copied octets stay as they are.
    void Clear();
    void SetAllRanges(TFieldRange range);

    bool Blank();
    // The address the window shows, first octet in the high byte; blank fields count as 0.
    std::int32_t Value();

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

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    const TNotifyEvent& OnEnter() const { return FOnEnter; }
    void SetOnEnter(TNotifyEvent handler) { FOnEnter = std::move(handler); }
    const TNotifyEvent& OnExit() const { return FOnExit; }
    void SetOnExit(TNotifyEvent handler) { FOnExit = std::move(handler); }
    const TphFieldChange& OnFieldChange() const { return FOnFieldChange; }
    void SetOnFieldChange(TphFieldChange handler) { FOnFieldChange = std::move(handler); }

    void CNCommand(WORD notificationCode) override;
    LRESULT CNNotify(NMHDR& header) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PushAddress();
    void SetRange(int index, TFieldRange range);

    bool FCreating = false;
    TFieldRange FFieldRanges[4];
    TNotifyEvent FOnChange;
    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    TphFieldChange FOnFieldChange;
    std::uint8_t FFirstIPAddress = 0;
    std::uint8_t FSecondIPAddress = 0;
    std::uint8_t FThirdIPAddress = 0;
    std::uint8_t FFourthIPAddress = 0;
};
