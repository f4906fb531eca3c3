// The address entry control over the system's real "SysIPAddress32".
#include "controls/phIPAddress.h"
#include "tests/windows/TestSupport.h"

#include <commctrl.h>

#include <tuple>

namespace {

// Records the address and range messages that reach the system control, in order, and hands
// the control's notifications to its object, as a dialog does.
struct Recorded {
    std::vector<std::pair<UINT, LPARAM>> Sent;
    std::vector<std::pair<WPARAM, LPARAM>> Ranges;
    WNDPROC Behind = nullptr;
    TphIPAddress* Control = nullptr;
};
Recorded* Recording = nullptr;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && Recording && reinterpret_cast<HWND>(lParam) == Recording->Control->Handle())
        Recording->Control->OnCommand(HIWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == IPM_SETADDRESS)
        Recording->Sent.emplace_back(message, lParam);
    if (message == IPM_SETRANGE)
        Recording->Ranges.emplace_back(wParam, lParam);
    return CallWindowProcW(Recording->Behind, window, message, wParam, lParam);
}

// The control in a window of its own, with the messages that reach it from then on recorded.
class AddressControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW parent{};
        parent.lpfnWndProc = ParentProcedure;
        parent.hInstance = GetModuleHandleW(nullptr);
        parent.lpszClassName = L"AddressControlTestParent";
        RegisterClassW(&parent);
        FParent = CreateWindowExW(0, parent.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        FRecorded.Control = &FControl;
        Recording = &FRecorded;
        FControl.OnChange = [this](TphIPAddress*) { ++FChanges; };
        FControl.Create(FParent, 1, RECT{6, 6, 157, 31});
        FRecorded.Behind = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(FControl.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProcedure)));
    }
    void TearDown() override
    {
        DestroyWindow(FParent);
        Recording = nullptr;
    }
    // A field-changed notification as the system control sends it to its parent.
    void ReportField(int field, int value)
    {
        NMIPADDRESS change{};
        change.hdr.hwndFrom = FControl.Handle();
        change.hdr.code = static_cast<UINT>(IPN_FIELDCHANGED);
        change.iField = field;
        change.iValue = value;
        FControl.OnNotify(change.hdr);
    }
    HWND FParent = nullptr;
    TphIPAddress FControl;
    Recorded FRecorded;
    int FChanges = 0;
};

}  // namespace

TEST_F(AddressControlTest, ANewControlShowsFourZeroFieldsAndRaisedNoChangeWhileCreated)
{
    EXPECT_FALSE(FControl.Blank());
    EXPECT_EQ(FControl.Value(), 0);
    EXPECT_EQ(FControl.Field1() + FControl.Field2() + FControl.Field3() + FControl.Field4(), 0);
    EXPECT_EQ(FChanges, 0);  // the push of the copied address at creation reports no change
    RECT bounds{};
    GetWindowRect(FControl.Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 151);
    EXPECT_EQ(bounds.bottom - bounds.top, 25);
    EXPECT_NE(GetWindowLongW(FControl.Handle(), GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(AddressControlTest, AssigningAFieldPushesTheWholeCopiedAddress)
{
    FControl.SetField1(10);
    FControl.SetField4(1);
    FRecorded.Sent.clear();
    FControl.SetField2(5);
    ASSERT_EQ(FRecorded.Sent.size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(FRecorded.Sent[0].second), MAKEIPADDRESS(10, 5, 0, 1));
    EXPECT_EQ(static_cast<DWORD>(FControl.Value()), MAKEIPADDRESS(10, 5, 0, 1));
    FControl.SetField2(5);
    EXPECT_EQ(FRecorded.Sent.size(), 2u);  // the same value is pushed again
    FControl.SetField1(200);
    EXPECT_LT(FControl.Value(), 0);  // first octet 128 or more reads negative
}

TEST_F(AddressControlTest, ClearEmptiesTheWindowButNotTheCopy)
{
    FControl.SetField3(7);
    FControl.Clear();
    EXPECT_TRUE(FControl.Blank());
    EXPECT_EQ(FControl.Value(), 0);
    EXPECT_EQ(FControl.Field3(), 7);
}

TEST_F(AddressControlTest, FieldChangesUpdateTheCopyBeforeTheEvent)
{
    std::vector<std::tuple<int, int, int>> seen;
    FControl.OnFieldChange = [&](TphIPAddress* sender, std::int32_t field, std::int32_t value) {
        EXPECT_EQ(sender, &FControl);
        seen.emplace_back(field, value, FControl.Field2());
    };
    ReportField(1, 42);
    ReportField(1, 0x1FF);
    ReportField(7, 9);
    EXPECT_EQ(seen, (std::vector<std::tuple<int, int, int>>{{1, 42, 42}, {1, 0x1FF, 0xFF}, {7, 9, 0xFF}}));
    EXPECT_EQ(FControl.Field1() + FControl.Field3() + FControl.Field4(), 0);
}

TEST_F(AddressControlTest, RangesAreSentOnlyWhenTheyChange)
{
    FControl.SetFirstRange(TFieldRange{200, 100});
    EXPECT_TRUE(FRecorded.Ranges.empty());
    FControl.SetFirstRange(TFieldRange{7, 7});
    FControl.SetFirstRange(TFieldRange{7, 7});
    ASSERT_EQ(FRecorded.Ranges.size(), 1u);
    EXPECT_EQ(FRecorded.Ranges[0], (std::pair<WPARAM, LPARAM>{0, MAKEIPRANGE(7, 7)}));
    FControl.SetSecondRange(TFieldRange{1, 2});
    FControl.SetFourthRange(TFieldRange{1, 2});
    FRecorded.Ranges.clear();
    FControl.SetFirstRange(TFieldRange{0, 255});
    FControl.SetAllRanges(TFieldRange{0, 255});  // fields 0 and 2 hold it already
    EXPECT_EQ(FRecorded.Ranges,
              (std::vector<std::pair<WPARAM, LPARAM>>{{0, MAKEIPRANGE(0, 255)}, {1, MAKEIPRANGE(0, 255)}, {3, MAKEIPRANGE(0, 255)}}));
}

TEST_F(AddressControlTest, KeepsItsOwnFontAndAnswersTheNotifyFormatItself)
{
    const LRESULT fontBefore = SendMessageW(FControl.Handle(), WM_GETFONT, 0, 0);
    HFONT other = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    EXPECT_EQ(SendMessageW(FControl.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(other), TRUE), 0);
    EXPECT_EQ(SendMessageW(FControl.Handle(), WM_GETFONT, 0, 0), fontBefore);
    EXPECT_EQ(SendMessageW(FControl.Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(FParent), NF_QUERY), NFR_UNICODE);
}

TEST_F(AddressControlTest, FocusAndChangeNotificationsRaiseTheirEvents)
{
    int entered = 0, left = 0;
    FControl.OnEnter = [&](TphIPAddress* sender) {
        EXPECT_EQ(sender, &FControl);
        ++entered;
    };
    FControl.OnExit = [&](TphIPAddress*) { ++left; };
    FControl.OnCommand(EN_SETFOCUS);
    FControl.OnCommand(EN_KILLFOCUS);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    FControl.OnCommand(EN_CHANGE);
    EXPECT_EQ(FChanges, 1);  // outside window creation a change is reported
}

TEST(AddressControlWithoutWindow, AnswersEmptyAndRemembersAssignmentsForItsWindow)
{
    TphIPAddress address;
    EXPECT_FALSE(address.Blank());
    EXPECT_EQ(address.Value(), 0);
    address.SetField1(10);
    address.Clear();
    EXPECT_EQ(address.Field1(), 10);
    const HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    address.Create(parent, 1, RECT{6, 6, 157, 31});
    EXPECT_EQ(static_cast<DWORD>(address.Value()), MAKEIPADDRESS(10, 0, 0, 0));
    DestroyWindow(parent);
}
