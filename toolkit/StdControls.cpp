#include "toolkit/StdControls.h"

#include "errors/Exception.h"
#include "owners/ScopeGuard.h"

#include <algorithm>

#include <commctrl.h>

void TLabel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = L"Static";
    params.Style |= SS_LEFT | SS_NOPREFIX;
}

LRESULT TLabel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
    if (message == WM_SETFONT)
        AdjustWidth(reinterpret_cast<HFONT>(wParam));
    return result;
}

void TLabel::AdjustWidth(HFONT font)
{
    SIZE extent{};
    bool measured = false;
    {
        const WindowDC dc(Handle());
        if (!dc)
            return;
        const SelectedObject selected(dc, font);
        measured = GetTextExtentPoint32W(dc, Text().c_str(), static_cast<int>(Text().size()), &extent) != FALSE;
    }
    if (measured && extent.cx != Width())
        SetBounds(Left(), Top(), extent.cx, Height());
}

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = L"Button";
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click()
{
    if (OnClick)
        OnClick();
}

void TButton::CNCommand(WORD notificationCode)
{
    if (notificationCode == BN_CLICKED)
        Click();
}

namespace {

HBITMAP BitmapFromPicture(const TPicture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    // Image lists want the colours premultiplied by alpha.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        const std::uint32_t p = picture.Pixels[i];
        const std::uint32_t a = p >> 24;
        const std::uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
        out[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return bitmap;
}

}  // namespace

void TBitBtn::SetGlyph(TPicture normal, TPicture disabled)
{
    FNormal = std::move(normal);
    FDisabled = std::move(disabled);
}

void TBitBtn::CreateWnd()
{
    TButton::CreateWnd();
    if (FNormal.Pixels.empty())
        return;
    FImages.Reset(ImageList_Create(FNormal.Width, FNormal.Height, ILC_COLOR32, 6, 0));
    if (!FImages.Valid())
        return;
    const BitmapOwner normal(BitmapFromPicture(FNormal));
    const BitmapOwner disabled(BitmapFromPicture(FDisabled.Pixels.empty() ? FNormal : FDisabled));
    // One image for each button state: normal, hot, pressed, disabled, default, stylus hot.
    const HBITMAP states[6] = {normal, normal, normal, disabled, normal, normal};
    for (HBITMAP state : states)
        ImageList_Add(FImages, state, nullptr);
    BUTTON_IMAGELIST list{};
    list.himl = FImages;
    list.margin = RECT{4, 0, 0, 0};
    list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    Perform(BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TListBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = L"ListBox";
    params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (FMultiSelect)
        params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    Perform(LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
    FillWindow();
}

namespace {

void RequireRoom(LRESULT result)
{
    if (result == LB_ERR || result == LB_ERRSPACE)
        throw Exception(L"The list cannot hold another entry");
}

// The window's storage is grown ahead in steps this large: one request for every entry of a long
// list made it grow slower, not faster (measured under Wine with 90,000 entries: 60 ms in steps,
// 120 ms at once).
const std::size_t StorageStep = 16384;

// Deleting one entry moves every entry after it, so beyond this many selected entries the list is
// filled anew instead.
const std::size_t MostSingleDeletions = 64;

}  // namespace

// Makes the window hold the copy's entries, and nothing else. The entries go straight to the
// system's list box procedure: a long list is filled faster without a trip through the message
// dispatch and this control's own procedure for each entry.
void TListBox::FillWindow()
{
    if (!HandleAllocated())
        return;
    DefaultHandler(LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (i % StorageStep == 0) {
            const std::size_t step = std::min(StorageStep, FItems.size() - i);
            DefaultHandler(LB_INITSTORAGE, static_cast<WPARAM>(step), static_cast<LPARAM>(step * 16 * sizeof(wchar_t)));
        }
        RequireRoom(DefaultHandler(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems[i].c_str())));
    }
}

void TListBox::Assign(std::vector<std::wstring> entries)
{
    BeginUpdate();
    const ScopeGuard endUpdate([this] { EndUpdate(); });
    FItems = std::move(entries);
    FillWindow();
}

std::vector<int> TListBox::SelectedIndices() const
{
    if (!HandleAllocated())
        return {};
    if (!FMultiSelect) {
        const LRESULT index = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
        return index == LB_ERR ? std::vector<int>() : std::vector<int>{static_cast<int>(index)};
    }
    const LRESULT count = SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0);
    std::vector<int> indices(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (!indices.empty())
        SendMessageW(Handle(), LB_GETSELITEMS, static_cast<WPARAM>(indices.size()), reinterpret_cast<LPARAM>(indices.data()));
    return indices;
}

void TListBox::DeleteSelected()
{
    const std::vector<int> selected = SelectedIndices();
    if (selected.empty())
        return;
    BeginUpdate();
    const ScopeGuard endUpdate([this] { EndUpdate(); });
    if (selected.size() <= MostSingleDeletions) {
        for (auto index = selected.rbegin(); index != selected.rend(); ++index) {
            Perform(LB_DELETESTRING, static_cast<WPARAM>(*index), 0);
            FItems.erase(FItems.begin() + *index);
        }
        return;
    }
    // The copy closes up in place; the window is filled anew from it.
    std::size_t kept = static_cast<std::size_t>(selected.front());
    auto next = selected.begin();
    for (std::size_t i = kept; i < FItems.size(); ++i) {
        if (next != selected.end() && static_cast<std::size_t>(*next) == i)
            ++next;
        else
            FItems[kept++] = std::move(FItems[i]);
    }
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(kept), FItems.end());
    const LRESULT top = Perform(LB_GETTOPINDEX, 0, 0);
    FillWindow();
    if (!FItems.empty())
        Perform(LB_SETTOPINDEX, static_cast<WPARAM>(std::min<LRESULT>(top, Count() - 1)), 0);
}

void TListBox::Add(const std::wstring& text)
{
    Insert(Count(), text);
}

// Entries go in at an index of their own; the list box is never sorted, so window and copy agree.
void TListBox::Insert(int index, const std::wstring& text)
{
    RequireRoom(Perform(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    FItems.insert(FItems.begin() + index, text);
}

void TListBox::SetSelected(int index, bool selected)
{
    if (FMultiSelect)
        Perform(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    else
        Perform(LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

void TListBox::ClearSelection()
{
    SetSelected(-1, false);
}

int TListBox::FindExact(const std::wstring& text) const
{
    if (!HandleAllocated())
        return -1;
    const LRESULT found = SendMessageW(Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    return found == LB_ERR ? -1 : static_cast<int>(found);
}

void TListBox::BeginUpdate()
{
    Perform(WM_SETREDRAW, FALSE, 0);
}

void TListBox::EndUpdate()
{
    Perform(WM_SETREDRAW, TRUE, 0);
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TMemo::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = L"Edit";
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT;
    if (FReadOnly)
        params.Style |= ES_READONLY;
    if (FBorder)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

LRESULT TMemo::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A read-only text has no use for Enter, Escape or Tab: they keep their meaning for the form.
    if (message == WM_GETDLGCODE && FReadOnly)
        return TWinControl::WndProc(message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return TWinControl::WndProc(message, wParam, lParam);
}
