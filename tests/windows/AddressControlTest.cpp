// The address entry control over the system's real "SysIPAddress32".
#include "controls/phIPAddress.h"
#include "tests/windows/TestSupport.h"
#include "toolkit/Form.h"

#include <commctrl.h>

namespace {

// Records the address messages the control sends to the system control, in order.
class RecordingAddressControl : public TphIPAddress {
public:
    using TphIPAddress::TphIPAddress;
    std::vector<std::pair<UINT, LPARAM>> Sent;
    std::vector<std::pair<WPARAM, LPARAM>> Ranges;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == IPM_SETADDRESS)
            Sent.emplace_back(message, lParam);
        if (message == IPM_SETRANGE)
            Ranges.emplace_back(wParam, lParam);
        return TphIPAddress::WndProc(message, wParam, lParam);
    }
};

class TestForm : public TForm {
public:
    TestForm() : Address(Make<RecordingAddressControl>(L"Address"))
    {
        SetClientSize(200, 60);
        Address.SetBounds(6, 6, 151, 25);
    }
    RecordingAddressControl& Address;
};

class AddressControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FForm.Address.SetOnChange([this](TComponent*) { ++FChanges; });
        FForm.Show();
    }
    // A field-changed notification as the system control sends it to its parent.
    void ReportField(int field, int value)
    {
        NMIPADDRESS change{};
        change.hdr.hwndFrom = FForm.Address.Handle();
        change.hdr.idFrom = 0;
        change.hdr.code = static_cast<UINT>(IPN_FIELDCHANGED);
        change.iField = field;
        change.iValue = value;
        SendMessageW(FForm.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    }
    TestForm FForm;
    int FChanges = 0;
};

}  // namespace

TEST_F(AddressControlTest, ANewControlShowsFourZeroFieldsAndRaisedNoChangeWhileCreated)
{
    auto& address = FForm.Address;
    EXPECT_FALSE(address.Blank());
    EXPECT_EQ(address.Value(), 0);
    EXPECT_EQ(address.Field1() + address.Field2() + address.Field3() + address.Field4(), 0);
    EXPECT_EQ(address.Sent.size(), 1u);  // the push of the copied address at creation
    EXPECT_EQ(FChanges, 0);
    EXPECT_EQ(address.Width(), 151);
    EXPECT_EQ(address.Height(), 25);
    EXPECT_TRUE(address.TabStop());
}

TEST_F(AddressControlTest, AssigningAFieldPushesTheWholeCopiedAddress)
{
    auto& address = FForm.Address;
    address.SetField1(10);
    address.SetField4(1);
    address.Sent.clear();
    address.SetField2(5);
    ASSERT_EQ(address.Sent.size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(address.Sent[0].second), MAKEIPADDRESS(10, 5, 0, 1));
    EXPECT_EQ(static_cast<DWORD>(address.Value()), MAKEIPADDRESS(10, 5, 0, 1));
    address.SetField2(5);
    EXPECT_EQ(address.Sent.size(), 2u);  // the same value is pushed again
    address.SetField1(200);
    EXPECT_LT(address.Value(), 0);  // first octet 128 or more reads negative
}

TEST_F(AddressControlTest, ClearEmptiesTheWindowButNotTheCopy)
{
    auto& address = FForm.Address;
    address.SetField3(7);
    address.Clear();
    EXPECT_TRUE(address.Blank());
    EXPECT_EQ(address.Value(), 0);
    EXPECT_EQ(address.Field3(), 7);
}

TEST_F(AddressControlTest, FieldChangesUpdateTheCopyBeforeTheEvent)
{
    auto& address = FForm.Address;
    std::vector<std::tuple<int, int, int>> seen;
    address.SetOnFieldChange([&](TComponent* sender, std::int32_t field, std::int32_t value) {
        EXPECT_EQ(sender, &address);
        seen.emplace_back(field, value, address.Field2());
    });
    ReportField(1, 42);
    ReportField(1, 0x1FF);
    ReportField(7, 9);
    EXPECT_EQ(seen, (std::vector<std::tuple<int, int, int>>{{1, 42, 42}, {1, 0x1FF, 0xFF}, {7, 9, 0xFF}}));
    EXPECT_EQ(address.Field1() + address.Field3() + address.Field4(), 0);
}

TEST_F(AddressControlTest, RangesAreSentOnlyWhenTheyChange)
{
    auto& address = FForm.Address;
    address.SetFirstRange(TFieldRange{200, 100});
    EXPECT_TRUE(address.Ranges.empty());
    address.SetFirstRange(TFieldRange{7, 7});
    address.SetFirstRange(TFieldRange{7, 7});
    ASSERT_EQ(address.Ranges.size(), 1u);
    EXPECT_EQ(address.Ranges[0], (std::pair<WPARAM, LPARAM>{0, MAKEIPRANGE(7, 7)}));
    address.Ranges.clear();
    address.SetSecondRange(TFieldRange{1, 2});
    address.SetFourthRange(TFieldRange{1, 2});
    address.Ranges.clear();
    address.SetFirstRange(TFieldRange{0, 255});
    address.SetAllRanges(TFieldRange{0, 255});  // fields 0 and 2 hold it already
    EXPECT_EQ(address.Ranges, (std::vector<std::pair<WPARAM, LPARAM>>{{0, MAKEIPRANGE(0, 255)}, {1, MAKEIPRANGE(0, 255)}, {3, MAKEIPRANGE(0, 255)}}));
}

TEST_F(AddressControlTest, KeepsItsOwnFontAndAnswersTheNotifyFormatItself)
{
    auto& address = FForm.Address;
    const LRESULT fontBefore = SendMessageW(address.Handle(), WM_GETFONT, 0, 0);
    HFONT other = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    EXPECT_EQ(SendMessageW(address.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(other), TRUE), 0);
    EXPECT_EQ(SendMessageW(address.Handle(), WM_GETFONT, 0, 0), fontBefore);
    EXPECT_EQ(SendMessageW(address.Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(FForm.Handle()), NF_QUERY), NFR_UNICODE);
}

TEST(AddressControlWithoutWindow, AnswersEmptyAndRemembersAssignments)
{
    TForm form;
    auto& address = form.Make<TphIPAddress>(L"Address");
    EXPECT_FALSE(address.Blank());
    EXPECT_EQ(address.Value(), 0);
    address.SetField1(10);
    address.Clear();
    EXPECT_EQ(address.Field1(), 10);
    form.SetClientSize(200, 60);
    form.Show();
    EXPECT_EQ(static_cast<DWORD>(address.Value()), MAKEIPADDRESS(10, 0, 0, 0));
}

TEST_F(AddressControlTest, FocusNotificationsRaiseEnterAndExit)
{
    auto& address = FForm.Address;
    int entered = 0, left = 0;
    address.SetOnEnter([&](TComponent* sender) {
        EXPECT_EQ(sender, &address);
        ++entered;
    });
    address.SetOnExit([&](TComponent*) { ++left; });
    SendMessageW(FForm.Handle(), WM_COMMAND, MAKEWPARAM(0, EN_SETFOCUS), reinterpret_cast<LPARAM>(address.Handle()));
    SendMessageW(FForm.Handle(), WM_COMMAND, MAKEWPARAM(0, EN_KILLFOCUS), reinterpret_cast<LPARAM>(address.Handle()));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    const int changesBefore = FChanges;
    SendMessageW(FForm.Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(address.Handle()));
    EXPECT_EQ(FChanges, changesBefore + 1);  // outside window creation a change is reported
}
