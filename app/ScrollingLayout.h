#pragma once
// The window's contents scroll when the window is made smaller than its layout; the controls keep
// their places in the layout when it is resized.
#include <windows.h>

class ScrollingLayout {
public:
    // The layout's extent, the right and bottom edges of its farthest controls.
    void SetExtent(HWND window, int width, int height);
    // WM_SIZE: the scroll bars as the client area now calls for.
    void Resized(HWND window);
    // WM_HSCROLL and WM_VSCROLL.
    void Scroll(HWND window, int bar, WORD request);

private:
    void ScrollTo(HWND window, int x, int y);

    int FWidth = 0, FHeight = 0;
    int FX = 0, FY = 0;
    bool FUpdating = false;
};
