// The busy state over the real window: which controls it disables, what leaving it restores.
#include "app/BusyState.h"
#include "app/Main.h"
#include "tests/windows/TestSupport.h"
#include "toolkit/Application.h"

#include <stdexcept>

namespace {

class BusyStateTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        FWindow.Show();
        FWindow.Timer1Timer();
    }
    bool Enabled(const TWinControl& control) { return IsWindowEnabled(control.Handle()) != FALSE; }

    InstallFolder FFolder;
    TfrmManageIPAddresses FWindow;
};

}  // namespace

TEST_F(BusyStateTest, DisablesWhatCouldStartAnOperationAndKeepsTextsReadable)
{
    FWindow.Timer1.SetEnabled(true);
    EnterBusyState(FWindow, crHourGlass);
    for (TWinControl* control : {static_cast<TWinControl*>(&FWindow.ListBox1), static_cast<TWinControl*>(&FWindow.btnAdd),
                                 static_cast<TWinControl*>(&FWindow.btnDelete), static_cast<TWinControl*>(&FWindow.BitBtnOk),
                                 static_cast<TWinControl*>(&FWindow.BitBtnCancel), static_cast<TWinControl*>(&FWindow.btnApply),
                                 static_cast<TWinControl*>(&FWindow.phIPAddress1)}) {
        EXPECT_FALSE(Enabled(*control)) << Narrow(control->Name());
        EXPECT_EQ(control->Cursor(), crHourGlass) << Narrow(control->Name());
    }
    EXPECT_TRUE(Enabled(FWindow.Label1));
    EXPECT_TRUE(Enabled(FWindow.Label2));
    EXPECT_TRUE(Enabled(FWindow.Memo1));
    EXPECT_EQ(FWindow.Memo1.Cursor(), crHourGlass);
    EXPECT_EQ(Screen::Cursor(), crHourGlass);
    EXPECT_EQ(FWindow.Cursor(), crHourGlass);
    EXPECT_TRUE(FWindow.Timer1.Enabled());
    LeaveBusyState(FWindow, crDefault, &FWindow.phIPAddress1);
    EXPECT_TRUE(FWindow.Timer1.Enabled());
    FWindow.Timer1.SetEnabled(false);
}

TEST_F(BusyStateTest, LeavingEnablesEveryControlFocusesAndNudgesThePointer)
{
    EXPECT_FALSE(Enabled(FWindow.btnApply));
    FWindow.Memo1.SetReadOnly(false);  // an editable text takes part like any other control
    EnterBusyState(FWindow, crHourGlass);
    EXPECT_FALSE(Enabled(FWindow.Memo1));
    SetCursorPos(200, 300);
    LeaveBusyState(FWindow, crDefault, &FWindow.phIPAddress1);
    EXPECT_TRUE(Enabled(FWindow.btnApply));
    EXPECT_TRUE(Enabled(FWindow.Memo1));
    EXPECT_TRUE(HasFocus(FWindow.phIPAddress1));
    EXPECT_EQ(Screen::Cursor(), crDefault);
    EXPECT_EQ(FWindow.btnAdd.Cursor(), crDefault);
    POINT point{};
    GetCursorPos(&point);
    EXPECT_EQ(point.x, 201);
    EXPECT_EQ(point.y, 300);
}

TEST_F(BusyStateTest, AnErrorInsideStillEndsInTheNormalState)
{
    EXPECT_THROW(WhileBusy(FWindow, &FWindow.phIPAddress1, [] { throw std::runtime_error("inside"); }), std::runtime_error);
    EXPECT_EQ(Screen::Cursor(), crDefault);
    EXPECT_TRUE(Enabled(FWindow.btnAdd));
    EXPECT_TRUE(Enabled(FWindow.ListBox1));
}

namespace {

// A window on a thread of its own that answers nothing until told to go on, as a hung program's
// window would; afterwards it counts the cursor requests that other threads sent it.
struct HungWindow {
    HANDLE Ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE GoOn = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND Window = nullptr;
    int CursorRequestsSent = 0;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SETCURSOR && InSendMessage())
            ++reinterpret_cast<HungWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))->CursorRequestsSent;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static DWORD WINAPI Run(void* parameter)
    {
        auto& self = *static_cast<HungWindow*>(parameter);
        WNDCLASSW description{};
        description.lpfnWndProc = Procedure;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"HungWindow";
        RegisterClassW(&description);
        self.Window = CreateWindowExW(WS_EX_TOPMOST, L"HungWindow", L"", WS_POPUP | WS_VISIBLE, 900, 700, 100, 100, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(self.Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&self));
        SetEvent(self.Ready);
        WaitForSingleObject(self.GoOn, 5000);  // hung; a send to it waits this long at most
        const DWORD until = GetTickCount() + 500;
        MSG message;
        while (GetTickCount() < until)
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
        DestroyWindow(self.Window);
        return 0;
    }
};

}  // namespace

TEST_F(BusyStateTest, LeavingSendsNothingToAWindowOfAnotherThreadUnderThePointer)
{
    HungWindow hung;
    const HANDLE thread = CreateThread(nullptr, 0, HungWindow::Run, &hung, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(hung.Ready, 10000), WAIT_OBJECT_0);
    SetCursorPos(950, 750);
    ASSERT_EQ(WindowFromPoint(POINT{950, 750}), hung.Window);
    EnterBusyState(FWindow, crHourGlass);
    LeaveBusyState(FWindow, crDefault, &FWindow.phIPAddress1);
    SetEvent(hung.GoOn);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(hung.Ready);
    CloseHandle(hung.GoOn);
    EXPECT_EQ(hung.CursorRequestsSent, 0);
}
