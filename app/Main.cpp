#include "app/Main.h"

#include "app/AddressListFile.h"
#include "app/BusyState.h"
#include "app/ButtonPictures.h"
#include "errors/Exception.h"
#include "owners/ScopeGuard.h"
#include "text/NaturalCompare.h"
#include "toolkit/Application.h"
#include "toolkit/MessageBox.h"
#include "validation/StartupValidation.h"

TfrmManageIPAddresses* frmManageIPAddresses = nullptr;

namespace {

const wchar_t AllZerosMessage[] = L"The I.P. address is all zeros.  Please specify a valid address.";
const wchar_t AlreadyListedMessage[] = L"That address already exists in the list.";
const wchar_t DeleteQuestion[] = L"Are you sure you want to delete the selected address(es) from the list?";
const wchar_t CancelQuestion[] =
    L"Changes made to the I.P. address list have not been saved.  Are you sure you want to cancel?";

const wchar_t ExplanatoryText[] =
    L"This list holds the I.P. addresses of the servers that Tessaline connects to.\r\n"
    L"To add a server, type its address on the left and click \"Add Address to List\"; the address takes its "
    L"place in numeric order.  To remove servers, select them in the list and click \"Delete Selected "
    L"Address(es)\".\r\n"
    L"Apply saves the list, OK saves it and closes this window, and Cancel closes it without saving.\r\n\r\n";

void Place(TWinControl& control, int left, int top, int width, int height, int tabOrder)
{
    control.SetBounds(left, top, width, height);
    control.SetTabOrder(tabOrder);
}

void SetPictures(TBitBtn& button, const TPicture& picture)
{
    button.SetGlyph(picture, DisabledPicture(picture));
}

std::wstring AddressString(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
{
    return std::to_wstring(a) + L"." + std::to_wstring(b) + L"." + std::to_wstring(c) + L"." + std::to_wstring(d);
}

}  // namespace

TfrmManageIPAddresses::TfrmManageIPAddresses()
    : Label1(Make<TLabel>(L"Label1")),
      Label2(Make<TLabel>(L"Label2")),
      ListBox1(Make<TListBox>(L"ListBox1")),
      btnAdd(Make<TBitBtn>(L"btnAdd")),
      btnDelete(Make<TBitBtn>(L"btnDelete")),
      Memo1(Make<TMemo>(L"Memo1")),
      BitBtnOk(Make<TBitBtn>(L"BitBtnOk")),
      BitBtnCancel(Make<TBitBtn>(L"BitBtnCancel")),
      btnApply(Make<TButton>(L"btnApply")),
      phIPAddress1(Make<TphIPAddress>(L"phIPAddress1")),
      Timer1(Make<TTimer>(L"Timer1"))
{
    SetText(L"Server I.P. Address List");
    SetClientSize(748, 374);
    SetFont(L"MS Sans Serif", 11);

    Place(Label1, 6, 123, 94, 13, -1);
    Label1.SetText(L"Server I.P. Address:");
    Place(Label2, 382, 123, 113, 13, -1);
    Label2.SetText(L"Server I.P. Address List:");
    Place(ListBox1, 382, 144, 126, 221, 1);
    ListBox1.SetItemHeight(13);
    Place(btnAdd, 177, 144, 190, 25, 0);
    btnAdd.SetText(L"Add Address to List");
    SetPictures(btnAdd, AddPicture());
    Place(btnDelete, 524, 144, 216, 25, 2);
    btnDelete.SetText(L"Delete Selected Address(es)");
    SetPictures(btnDelete, DeletePicture());
    Place(Memo1, 3, 2, 745, 113, 3);
    Memo1.SetText(ExplanatoryText);
    Memo1.SetReadOnly(true);
    Memo1.SetBorder(false);
    Place(BitBtnOk, 6, 336, 75, 25, 4);
    BitBtnOk.SetText(L"OK");
    SetPictures(BitBtnOk, OkPicture());
    Place(BitBtnCancel, 100, 336, 75, 25, 5);
    BitBtnCancel.SetText(L"Cancel");
    SetPictures(BitBtnCancel, CancelPicture());
    Place(btnApply, 199, 336, 75, 25, 6);
    btnApply.SetText(L"Apply");
    Place(phIPAddress1, 6, 144, 151, 25, 7);
    Timer1.SetEnabled(false);
    SetDefaultButton(BitBtnOk);
    AddCancelButton(btnDelete);  // Escape deletes while there is something to delete
    AddCancelButton(BitBtnCancel);

    btnAdd.OnClick = [this] { btnAddClick(); };
    btnDelete.OnClick = [this] { btnDeleteClick(); };
    btnApply.OnClick = [this] { btnApplyClick(); };
    BitBtnOk.OnClick = [this] { BitBtnOkClick(); };
    BitBtnCancel.OnClick = [this] { BitBtnCancelClick(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnShow = [this] { FormShow(); };
    OnCreate = [this] { FormCreate(); };
    DoCreate();
}

void TfrmManageIPAddresses::FormCreate()
{
    SetAutoScroll(true);
    OnShowEventPreviouslyEncountered = false;
    ListModified = false;
    // ListBox1 never sorts: entries stay where they are put.
    ListBox1.SetMultiSelect(true);
    ListBox1.SetExtendedSelect(true);
    std::wstring text = Memo1.Text();
    while (!text.empty() && text.back() <= L' ')
        text.pop_back();
    Memo1.SetText(text);
}

void TfrmManageIPAddresses::FormShow()
{
    if (OnShowEventPreviouslyEncountered)
        return;
    Timer1.SetInterval(300);
    Timer1.SetEnabled(true);
    OnShowEventPreviouslyEncountered = true;
}

void TfrmManageIPAddresses::LoadList()
{
    StringList entries;
    LoadAddressList(entries);
    ListBox1.Assign(std::move(entries));
    FListLoaded = true;
    Application::ProcessMessages();
}

void TfrmManageIPAddresses::Timer1Timer()
{
    Timer1.SetEnabled(false);
    bool validationFailed = false;
    {
        // Should an error pass, the list was not read: ending the busy state enabled Delete and
        // Apply, and neither may lead to a save now.
        ScopeGuard refuseSaving([&] {
            btnDelete.SetEnabled(false);
            btnApply.SetEnabled(false);
        });
        WhileBusy(*this, &phIPAddress1, [&] {
            validationFailed = ValidateStartupEnvironment();
            if (!validationFailed)
                LoadList();
        });
        refuseSaving.Dismiss();
    }
    if (ListBox1.Count() > 0)
        ListBox1.SetSelected(0, true);
    Application::ProcessMessages();
    btnDelete.SetEnabled(ListBox1.Count() > 0);
    btnApply.SetEnabled(false);
    if (validationFailed)
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// Apply and Delete lead to a save, which only a list that was read whole may have.
void TfrmManageIPAddresses::EnableSaving()
{
    btnApply.SetEnabled(FListLoaded);
}

void InsertInNaturalOrder(const std::wstring& text, TListBox& listBox)
{
    listBox.ClearSelection();
    const int count = listBox.Count();
    int index = 0;
    while (index < count && NaturalCompare(text, listBox.Item(index), false) >= 0)
        ++index;
    if (index < count)
        listBox.Insert(index, text);
    else
        listBox.Add(text);
    listBox.SetSelected(index, true);
}

void TfrmManageIPAddresses::btnAddClick()
{
    const std::uint8_t a = phIPAddress1.Field1(), b = phIPAddress1.Field2(), c = phIPAddress1.Field3(),
                       d = phIPAddress1.Field4();
    if (a == 0 && b == 0 && c == 0 && d == 0) {
        ShowMessageBox(AllZerosMessage, TMsgKind::Error, TMsgButtons::OK);
    } else {
        const std::wstring address = AddressString(a, b, c, d);
        if (ListBox1.FindExact(address) >= 0) {
            ShowMessageBox(AlreadyListedMessage, TMsgKind::Error, TMsgButtons::OK);
        } else {
            InsertInNaturalOrder(address, ListBox1);
            ListModified = true;
            EnableSaving();
            btnDelete.SetEnabled(FListLoaded);
        }
    }
    ListBox1.SetFocus();
    Application::ProcessMessages();
}

void TfrmManageIPAddresses::btnDeleteClick()
{
    if (ShowMessageBox(DeleteQuestion, TMsgKind::Confirmation, TMsgButtons::YesNo) != TModalResult::Yes)
        return;
    ListBox1.DeleteSelected();
    if (ListBox1.Count() > 0)
        ListBox1.SetSelected(0, true);
    else
        btnDelete.SetEnabled(false);
    ListModified = true;
    EnableSaving();
}

void TfrmManageIPAddresses::btnApplyClick()
{
    UpdateFile();
    ListModified = false;
    btnApply.SetEnabled(false);
    Application::ProcessMessages();
}

void TfrmManageIPAddresses::UpdateFile()
{
    if (!FListLoaded)
        throw Exception(L"The server address list has not been read from " + AddressListPath() +
                        L", so it is not saved: saving would replace the file with an incomplete list.");
    WhileBusy(*this, &phIPAddress1, [&] {
        StringList entries;
        const int count = ListBox1.Count();
        entries.reserve(static_cast<std::size_t>(count));
        for (int index = 0; index < count; ++index)
            entries.push_back(ListBox1.Item(index));
        SaveAddressList(entries);
        Application::ProcessMessages();
    });
}

void TfrmManageIPAddresses::BitBtnOkClick()
{
    if (ListModified)
        UpdateFile();
    Close();
}

void TfrmManageIPAddresses::BitBtnCancelClick()
{
    if (ListModified && ShowMessageBox(CancelQuestion, TMsgKind::Confirmation, TMsgButtons::YesNo) != TModalResult::Yes)
        return;
    Close();
}
