#pragma once
// A top-level window that owns its controls: default and cancel buttons for Enter and Escape, tab
// order, automatic scroll bars when it is made smaller than its layout, placement in the middle of
// the screen, one font for all its controls.
#include "owners/Owners.h"
#include "toolkit/WinControl.h"

#include <functional>

class TButton;

class TForm : public TWinControl {
public:
    TForm();
    ~TForm() override;

    void SetClientSize(int width, int height);
    void SetAutoScroll(bool autoScroll) { FAutoScroll = autoScroll; }
    // The font of every control on the form, by face name and character height in pixels.
    void SetFont(const wchar_t* faceName, int characterHeight);

    // Enter clicks the default button, unless a push button has the focus; Escape clicks the
    // first enabled cancel button, in the order they were added.
    void SetDefaultButton(TButton& button);
    void AddCancelButton(TButton& button);
    // The application's main form: destroying its window ends the message loop.
    void MakeMainForm() { FIsMainForm = true; }

    void Show();
    void Close();

    std::function<void()> OnCreate;
    std::function<void()> OnShow;

protected:
    // Derived forms call this once their components exist; it runs OnCreate.
    void DoCreate();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<TWinControl*> ControlsInTabOrder() const;
    LRESULT DefaultButtonId() const;
    void ClickCancelButton();
    void UpdateScrollBars();
    void Scroll(int bar, WORD request);
    void ScrollTo(int x, int y);
    bool RestoreFocus();

    int FClientWidth = 0, FClientHeight = 0;
    int FRangeX = 0, FRangeY = 0;
    int FScrollX = 0, FScrollY = 0;
    bool FAutoScroll = false;
    bool FIsMainForm = false;
    TButton* FDefaultButton = nullptr;
    std::vector<TButton*> FCancelButtons;
    bool FUpdatingScrollBars = false;
    HWND FFocusBeforeDeactivation = nullptr;
    FontOwner FFont;
};
