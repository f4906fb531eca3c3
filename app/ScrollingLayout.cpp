#include "app/ScrollingLayout.h"

#include <algorithm>

void ScrollingLayout::SetExtent(HWND window, int width, int height)
{
    FWidth = width;
    FHeight = height;
    Resized(window);
}

void ScrollingLayout::Resized(HWND window)
{
    if (FUpdating)
        return;
    FUpdating = true;
    RECT client;
    // Twice: a bar that appears makes the client area smaller, which may call for the other bar.
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        GetClientRect(window, &client);
        info.nMax = FWidth - 1;
        info.nPage = static_cast<UINT>(client.right);
        SetScrollInfo(window, SB_HORZ, &info, TRUE);
        GetClientRect(window, &client);
        info.nMax = FHeight - 1;
        info.nPage = static_cast<UINT>(client.bottom);
        SetScrollInfo(window, SB_VERT, &info, TRUE);
    }
    GetClientRect(window, &client);
    ScrollTo(window, std::clamp(FX, 0, std::max(0, FWidth - static_cast<int>(client.right))),
             std::clamp(FY, 0, std::max(0, FHeight - static_cast<int>(client.bottom))));
    FUpdating = false;
}

void ScrollingLayout::ScrollTo(HWND window, int x, int y)
{
    const int dx = FX - x;
    const int dy = FY - y;
    FX = x;
    FY = y;
    if (dx || dy)
        ScrollWindowEx(window, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SetScrollPos(window, SB_HORZ, FX, TRUE);
    SetScrollPos(window, SB_VERT, FY, TRUE);
}

void ScrollingLayout::Scroll(HWND window, int bar, WORD request)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
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
        ScrollTo(window, position, FY);
    else
        ScrollTo(window, FX, position);
}
