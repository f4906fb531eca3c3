#pragma once
// The windowed-control base. A control is an object first; its window is made when it is needed
// (when its form is shown) from the window-class parameters that each class fills in. Controls of a
// system class are subclassed the toolkit's way: a toolkit class is registered from the system's own
// description of that class, with the toolkit's window procedure in front, which sees every message
// first and passes on what the control does not handle. The parent hands the WM_COMMAND and WM_NOTIFY
// notifications it receives back to the control that sent them (CNCommand, CNNotify).
#include "toolkit/Component.h"
#include "toolkit/Cursor.h"

#include <windows.h>

#include <string>

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    void SetBounds(int left, int top, int width, int height);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width) { SetBounds(FLeft, FTop, width, FHeight); }
    void SetHeight(int height) { SetBounds(FLeft, FTop, FWidth, height); }

    void SetParent(TWinControl* parent) { FParent = parent; }
    const std::wstring& Text() const { return FText; }
    void SetText(std::wstring text);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop) { FTabStop = tabStop; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int tabOrder) { FTabOrder = tabOrder; }
    int ControlId() const { return FControlId; }
    void SetControlId(int id) { FControlId = id; }

    HWND Handle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    void SetFocus();
    // Sends a message to the control's own message handling; without a window it has no effect.
    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual void CNCommand(WORD notificationCode);
    virtual LRESULT CNNotify(NMHDR& header);

    static TWinControl* FromHandle(HWND window);

protected:
    struct TCreateParams {
        const wchar_t* SystemClass;  // the system class to subclass; nullptr for a toolkit class
        DWORD Style;
        DWORD ExStyle;
        int X, Y, Width, Height;
        HWND WndParent;
    };
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    void PublishedProperties(std::vector<TOrdProperty>& properties) const override;

private:
    static LRESULT CALLBACK InitWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool SetCursorFor(HWND target);

    TWinControl* FParent = nullptr;
    std::wstring FText;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FEnabled = true;
    bool FTabStop = false;
    int FTabOrder = 0;
    int FControlId = 0;
    TCursor FCursor = crDefault;
    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = DefWindowProcW;
};
