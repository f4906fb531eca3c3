#pragma once
// A top-level window that owns its controls: default and cancel buttons for Enter and Escape, tab
// order, automatic scroll bars when it is made smaller than its layout, placement in the middle of
// the screen, one font for all its controls.
#include "toolkit/WinControl.h"

#include <functional>

class TButton;

class FontHandle {
public:
    explicit FontHandle(HFONT font = nullptr) : FFont(font) {}
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;
    ~FontHandle() { if (FFont) DeleteObject(FFont); }
    HFONT Get() const { return FFont; }
    void Reset(HFONT font) { if (FFont) DeleteObject(FFont); FFont = font; }

private:
    HFONT FFont;
};

class TForm : public TWinControl {
public:
    TForm();
    ~TForm() override;

    void SetClientSize(int width, int height);
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    void SetAutoScroll(bool autoScroll) { FAutoScroll = autoScroll; }
    bool AutoScroll() const { return FAutoScroll; }
    // The font of every control on the form, by face name and character height in pixels.
    void SetFont(const wchar_t* faceName, int characterHeight);

    void Show();
    void Hide();
    void Close();
    void ClickCancelButton();

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
    TButton* DefaultButtonNow() const;
    void UpdateScrollBars();
    void Scroll(int bar, WORD request);
    void ScrollTo(int x, int y);
    bool RestoreFocus();

    int FClientWidth = 0, FClientHeight = 0;
    int FRangeX = 0, FRangeY = 0;
    int FScrollX = 0, FScrollY = 0;
    bool FAutoScroll = false;
    bool FUpdatingScrollBars = false;
    HWND FFocusBeforeDeactivation = nullptr;
    FontHandle FFont;
};
