// The busy state over the real window: which controls it disables, what leaving it restores.
#include "app/BusyState.h"
#include "app/MainDialog.h"
#include "app/resource.h"
#include "tests/windows/TestSupport.h"

#include <stdexcept>

namespace {

class BusyStateTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        FDialog.Create();
        FDialog.StartUp();
    }
    HWND Window() const { return FDialog.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

    InstallFolder FFolder;
    MainDialog FDialog{OSVersionFacts{PlatformClass::pcWindowsNT64, 6, 1}};
    BusyState FBusy;
};

const int Operations[] = {IDC_ADD, IDC_LIST, IDC_DELETE, IDOK, IDC_CANCEL, IDC_APPLY, IDC_ADDRESS};

}  // namespace

TEST_F(BusyStateTest, DisablesWhatCouldStartAnOperationAndKeepsTextsReadable)
{
    FBusy.Enter(Window());
    for (int id : Operations)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_ADDRESS_LABEL));
    EXPECT_TRUE(Enabled(IDC_LIST_LABEL));
    EXPECT_TRUE(Enabled(IDC_EXPLANATION));
    EXPECT_TRUE(FBusy.ShowCursor());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    FBusy.Leave(Window(), Control(IDC_ADDRESS));
    EXPECT_FALSE(FBusy.ShowCursor());
}

TEST_F(BusyStateTest, LeavingEnablesEveryControlFocusesAndNudgesThePointer)
{
    EXPECT_FALSE(Enabled(IDC_APPLY));
    FBusy.Enter(Window());
    SetCursorPos(200, 300);
    FBusy.Leave(Window(), Control(IDC_ADDRESS));
    for (int id : Operations)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(HasFocus(Control(IDC_ADDRESS)));
    POINT point{};
    GetCursorPos(&point);
    EXPECT_EQ(point.x, 201);
    EXPECT_EQ(point.y, 300);
}

TEST_F(BusyStateTest, AnErrorInsideStillEndsInTheNormalState)
{
    EXPECT_THROW(WhileBusy(FBusy, Window(), Control(IDC_ADDRESS), [] { throw std::runtime_error("inside"); }),
                 std::runtime_error);
    EXPECT_FALSE(FBusy.Busy());
    EXPECT_TRUE(Enabled(IDC_ADD));
    EXPECT_TRUE(Enabled(IDC_LIST));
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
    FBusy.Enter(Window());
    FBusy.Leave(Window(), Control(IDC_LIST));
    SetEvent(hung.GoOn);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(hung.Ready);
    CloseHandle(hung.GoOn);
    EXPECT_EQ(hung.CursorRequestsSent, 0);
}
