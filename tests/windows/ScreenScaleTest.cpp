// The window laid out for the screen's scale, as the prefix it runs in sets it (tests/windows/
// at-scale.sh runs this at 120, 144 and 192 DPI; the ordinary run is at 96): every control inside
// the client area and clear of the others, every text whole in its control.
#include "app/MainDialog.h"
#include "app/resource.h"
#include "tests/windows/TestSupport.h"

#include <string>
#include <vector>

namespace {

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT BoundsIn(HWND window, HWND control)
{
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// The text's extent and the font's height, in the control's own font.
SIZE TextExtent(HWND control, TEXTMETRICW& metrics)
{
    wchar_t text[512] = L"";
    const int length = GetWindowTextW(control, text, 512);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

}  // namespace

TEST(ScreenScale, EveryControlLiesInsideTheWindowClearOfTheOthersWithItsTextWhole)
{
    MainDialog dialog{OSVersionFacts{PlatformClass::pcWindowsNT64, 6, 1}};
    const HWND window = dialog.Create();
    const int dpi = ScreenDpi();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, (748 * dpi + 48) / 96) << dpi << " DPI";
    EXPECT_EQ(client.bottom, (374 * dpi + 48) / 96) << dpi << " DPI";
    struct Placed {
        int Id;
        RECT Bounds;
    };
    std::vector<Placed> controls;
    for (int id : {IDC_EXPLANATION, IDC_ADDRESS_LABEL, IDC_LIST_LABEL, IDC_ADDRESS, IDC_ADD, IDC_LIST, IDC_DELETE, IDOK,
                   IDC_CANCEL, IDC_APPLY})
        controls.push_back({id, BoundsIn(window, GetDlgItem(window, id))});
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT& a = controls[i].Bounds;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
            << controls[i].Id << " at " << Describe(a) << ", " << dpi << " DPI";
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &a, &controls[j].Bounds))
                << controls[i].Id << " and " << controls[j].Id << " overlap, " << dpi << " DPI";
        }
    }
    // A button's picture and text side by side, with the margins its frame takes.
    const int picture = (16 * dpi + 48) / 96, margins = (12 * dpi + 48) / 96;
    for (int id : {IDC_ADD, IDC_DELETE, IDOK, IDC_CANCEL, IDC_APPLY}) {
        const HWND button = GetDlgItem(window, id);
        TEXTMETRICW metrics{};
        const SIZE text = TextExtent(button, metrics);
        RECT bounds;
        GetClientRect(button, &bounds);
        const int pictureWidth = id == IDC_APPLY ? 0 : picture;
        EXPECT_LE(text.cx + pictureWidth + margins, bounds.right) << id << ", " << dpi << " DPI";
        EXPECT_LE(metrics.tmHeight, bounds.bottom) << id << ", " << dpi << " DPI";
    }
    for (int id : {IDC_ADDRESS_LABEL, IDC_LIST_LABEL}) {
        TEXTMETRICW metrics{};
        const SIZE text = TextExtent(GetDlgItem(window, id), metrics);
        RECT bounds;
        GetClientRect(GetDlgItem(window, id), &bounds);
        EXPECT_LE(text.cx, bounds.right) << id << ", " << dpi << " DPI";
        EXPECT_LE(metrics.tmHeight, bounds.bottom) << id << ", " << dpi << " DPI";
    }
    TEXTMETRICW listFont{};
    TextExtent(GetDlgItem(window, IDC_LIST), listFont);
    EXPECT_GE(SendMessageW(GetDlgItem(window, IDC_LIST), LB_GETITEMHEIGHT, 0, 0), listFont.tmHeight) << dpi << " DPI";
    if (dpi == 96) {  // today's layout, to the pixel
        EXPECT_EQ(Describe(BoundsIn(window, GetDlgItem(window, IDC_LIST))), "382,144 - 508,365");
        EXPECT_EQ(Describe(BoundsIn(window, GetDlgItem(window, IDC_DELETE))), "524,144 - 740,169");
        EXPECT_EQ(Describe(BoundsIn(window, GetDlgItem(window, IDC_ADDRESS))), "6,144 - 157,169");
        EXPECT_EQ(Describe(BoundsIn(window, GetDlgItem(window, IDC_APPLY))), "199,336 - 274,361");
    }
}
