#pragma once
// The standard controls the program's window is made of, each a subclassed system control.
#include "owners/Owners.h"
#include "toolkit/WinControl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A label sizes itself to its text in its font, as wide as the text needs.
class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* owner) : TWinControl(owner) {}

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AdjustWidth(HFONT font);
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    // Drawn as the default push button; its form decides what Enter clicks.
    void SetDefault(bool isDefault) { FDefault = isDefault; }
    void Click();
    void CNCommand(WORD notificationCode) override;

    std::function<void()> OnClick;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool FDefault = false;
};

// A picture for a button: 32-bit pixels, alpha in the top byte, rows from the top.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

// A push button with a picture beside its text: one picture while enabled, another while disabled.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner) : TButton(owner) {}
    void SetGlyph(TPicture normal, TPicture disabled);

protected:
    void CreateWnd() override;

private:
    TPicture FNormal, FDisabled;
    ImageListOwner FImages;
};

// A list box whose entries stay where they are put: it never sorts them.
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    void SetMultiSelect(bool multiSelect) { FMultiSelect = multiSelect; }
    void SetExtendedSelect(bool extendedSelect) { FExtendedSelect = extendedSelect; }
    void SetItemHeight(int height) { FItemHeight = height; }

    // The entries are kept here as well as in the window, so reading them costs no messages.
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::wstring& Item(int index) const { return FItems[static_cast<std::size_t>(index)]; }
    // Replaces every entry with Entries, in their order.
    void Assign(std::vector<std::wstring> entries);
    void Add(const std::wstring& text);
    void Insert(int index, const std::wstring& text);
    // Removes every selected entry; the others keep their order, and none is selected afterwards.
    void DeleteSelected();
    void SetSelected(int index, bool selected);
    void ClearSelection();
    // Index of the entry equal to Text, ignoring letter case, by the list box's own search; -1 if none.
    int FindExact(const std::wstring& text) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    std::vector<int> SelectedIndices() const;
    void FillWindow();
    void BeginUpdate();
    void EndUpdate();

    std::vector<std::wstring> FItems;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    int FItemHeight = 13;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    void SetBorder(bool border) { FBorder = border; }

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool FReadOnly = false;
    bool FBorder = true;
};
