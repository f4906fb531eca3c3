// The windowing layer's own rules, over the real window: properties reached by name, and what
// Enter picks.
#include "app/Main.h"
#include "tests/windows/TestSupport.h"

namespace {

class ToolkitTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        FWindow.Show();
    }
    LRESULT DefaultId() { return SendMessageW(FWindow.Handle(), DM_GETDEFID, 0, 0); }

    InstallFolder FFolder;
    TfrmManageIPAddresses FWindow;
};

}  // namespace

TEST_F(ToolkitTest, ComponentsPublishTheirPropertiesByName)
{
    EXPECT_TRUE(FWindow.btnAdd.IsPublishedProp(L"Enabled"));
    EXPECT_TRUE(FWindow.btnAdd.IsPublishedProp(L"Cursor"));
    EXPECT_TRUE(FWindow.Timer1.IsPublishedProp(L"Enabled"));
    EXPECT_FALSE(FWindow.Timer1.IsPublishedProp(L"Cursor"));
    EXPECT_FALSE(FWindow.btnAdd.IsPublishedProp(L"Colour"));
    FWindow.btnAdd.SetOrdProp(L"Enabled", 0);
    EXPECT_FALSE(IsWindowEnabled(FWindow.btnAdd.Handle()));
    FWindow.btnAdd.SetOrdProp(L"Colour", 1);  // not published: nothing happens
}

TEST_F(ToolkitTest, EnterPressesTheFocusedPushButtonOtherwiseTheDefaultOne)
{
    FWindow.ListBox1.SetFocus();
    EXPECT_EQ(LOWORD(DefaultId()), GetDlgCtrlID(FWindow.BitBtnOk.Handle()));
    FWindow.btnApply.SetEnabled(true);
    FWindow.btnApply.SetFocus();
    EXPECT_EQ(LOWORD(DefaultId()), GetDlgCtrlID(FWindow.btnApply.Handle()));
    EXPECT_EQ(HIWORD(DefaultId()), DC_HASDEFID);
}
