// The address list window in this process, with the real controls: its start-up, every button
// and the button states that follow. Message boxes and pauses go through the fakes.
#include "app/Main.h"
#include "errors/Exception.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"
#include "toolkit/Application.h"

#include <memory>

namespace {

using Entries = std::vector<std::wstring>;

class WindowTest : public SeamTest {
protected:
    void TearDown() override
    {
        FWindow.reset();
        Application::ProcessMessages();
    }

    // Shows the window and runs its deferred start-up at once rather than after 300 ms.
    TfrmManageIPAddresses& Start(const char* addressList = nullptr)
    {
        if (addressList)
            WriteBytes(ListPath(), addressList);
        FWindow = std::make_unique<TfrmManageIPAddresses>();
        FWindow->Show();
        FWindow->Timer1Timer();
        return *FWindow;
    }

    std::wstring ListPath() const { return FFolder / L"IPList.Txt"; }

    Entries ListEntries() const
    {
        Entries entries;
        for (int i = 0; i < FWindow->ListBox1.Count(); ++i)
            entries.push_back(FWindow->ListBox1.Item(i));
        return entries;
    }

    std::vector<int> Selection() const
    {
        std::vector<int> selected;
        for (int i = 0; i < FWindow->ListBox1.Count(); ++i)
            if (SendMessageW(FWindow->ListBox1.Handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                selected.push_back(i);
        return selected;
    }

    void Type(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
    {
        FWindow->phIPAddress1.SetField1(a);
        FWindow->phIPAddress1.SetField2(b);
        FWindow->phIPAddress1.SetField3(c);
        FWindow->phIPAddress1.SetField4(d);
    }

    void Add(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
    {
        Type(a, b, c, d);
        FWindow->btnAdd.Click();
    }

    // What the dialog keys send for Escape.
    static void PressEscape(TForm& window) { SendMessageW(window.Handle(), WM_COMMAND, IDCANCEL, 0); }

    bool DeleteEnabled() const { return IsWindowEnabled(FWindow->btnDelete.Handle()) != FALSE; }
    bool ApplyEnabled() const { return IsWindowEnabled(FWindow->btnApply.Handle()) != FALSE; }
    bool Closed() const { return !FWindow->HandleAllocated(); }

    InstallFolder FFolder;
    std::unique_ptr<TfrmManageIPAddresses> FWindow;
};

}  // namespace

TEST_F(WindowTest, StartUpShowsTheFileAsItStandsAndSetsTheButtons)
{
    auto& window = Start("10.0.0.10\r\n10.0.0.2\r\n10.0.0.2\r\n\r\n");
    EXPECT_EQ(ListEntries(), (Entries{L"10.0.0.10", L"10.0.0.2", L"10.0.0.2", L""}));
    EXPECT_EQ(Selection(), std::vector<int>{0});
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(window.ListModified);
    EXPECT_FALSE(window.Timer1.Enabled());
    EXPECT_TRUE(HasFocus(window.phIPAddress1));
    EXPECT_TRUE(TestSeams::Messages.empty());
}

TEST_F(WindowTest, StartUpWithoutAFileLeavesTheListEmptyAndCreatesNothing)
{
    Start();
    EXPECT_TRUE(ListEntries().empty());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(PathExists(ListPath()));
}

TEST_F(WindowTest, TheDeferredStartUpRunsOnceWhateverTheShows)
{
    auto& window = Start("1.1.1.1\r\n");
    ShowWindow(window.Handle(), SW_HIDE);
    window.Show();
    EXPECT_FALSE(window.Timer1.Enabled());
    EXPECT_EQ(ListEntries(), Entries{L"1.1.1.1"});
}

TEST_F(WindowTest, AddRefusesAllZerosAndDuplicatesWithTheirMessages)
{
    auto& window = Start("10.0.0.1\r\n");
    Add(0, 0, 0, 0);
    ASSERT_EQ(TestSeams::Messages.size(), 1u);
    EXPECT_EQ(TestSeams::Messages[0].Text, L"The I.P. address is all zeros.  Please specify a valid address.");
    EXPECT_EQ(TestSeams::Messages[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(HasFocus(window.ListBox1));
    Add(10, 0, 0, 1);
    ASSERT_EQ(TestSeams::Messages.size(), 2u);
    EXPECT_EQ(TestSeams::Messages[1].Text, L"That address already exists in the list.");
    EXPECT_EQ(ListEntries(), Entries{L"10.0.0.1"});
    EXPECT_FALSE(window.ListModified);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(WindowTest, AddInsertsInNaturalOrderAndSelectsOnlyTheNewEntry)
{
    auto& window = Start();
    Add(10, 0, 0, 10);
    EXPECT_EQ(Selection(), std::vector<int>{0});
    Add(10, 0, 0, 2);
    EXPECT_EQ(Selection(), std::vector<int>{0});
    Add(9, 1, 1, 1);
    Add(255, 255, 255, 255);
    Add(0, 0, 0, 1);
    EXPECT_EQ(ListEntries(), (Entries{L"0.0.0.1", L"9.1.1.1", L"10.0.0.2", L"10.0.0.10", L"255.255.255.255"}));
    EXPECT_EQ(Selection(), std::vector<int>{0});
    EXPECT_TRUE(window.ListModified);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_TRUE(HasFocus(window.ListBox1));
}

TEST_F(WindowTest, AddPlacesAmongLoadedEntriesByTheFirstThatSortsAfterIt)
{
    Start("10.0.0.01\r\n10.0.0.5\r\n10.0.0.1x\r\n");
    Add(10, 0, 0, 1);  // equal to 10.0.0.01 in natural order, yet not the same text
    EXPECT_EQ(ListEntries(), (Entries{L"10.0.0.01", L"10.0.0.1", L"10.0.0.5", L"10.0.0.1x"}));
    EXPECT_EQ(Selection(), std::vector<int>{1});
    FWindow.reset();
    Start("10.0.0.5\r\n10.0.0.1\r\n");
    Add(10, 0, 0, 3);
    EXPECT_EQ(ListEntries(), (Entries{L"10.0.0.3", L"10.0.0.5", L"10.0.0.1"}));
}

TEST_F(WindowTest, DeleteAsksAndRemovesEverySelectedEntry)
{
    auto& window = Start("1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n4.4.4.4\r\n");
    window.ListBox1.SetSelected(1, true);
    window.ListBox1.SetSelected(3, true);
    TestSeams::Answers = {TModalResult::No};
    window.btnDelete.Click();
    EXPECT_EQ(ListEntries().size(), 4u);
    EXPECT_FALSE(window.ListModified);
    ASSERT_EQ(TestSeams::Messages.size(), 1u);
    EXPECT_EQ(TestSeams::Messages[0].Text, L"Are you sure you want to delete the selected address(es) from the list?");
    EXPECT_EQ(TestSeams::Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_EQ(TestSeams::Messages[0].Buttons, TMsgButtons::YesNo);
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    EXPECT_EQ(ListEntries(), (Entries{L"3.3.3.3"}));
    EXPECT_EQ(Selection(), std::vector<int>{0});
    EXPECT_TRUE(window.ListModified);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(DeleteEnabled());
}

TEST_F(WindowTest, DeletingManyEntriesKeepsTheOthersInOrder)
{
    std::string list;
    Entries kept;
    for (int i = 0; i < 300; ++i) {
        list += std::to_string(i) + "\r\n";
        if (i % 3 != 0)
            kept.push_back(std::to_wstring(i));
    }
    auto& window = Start(list.c_str());
    for (int i = 0; i < 300; i += 3)
        window.ListBox1.SetSelected(i, true);
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    EXPECT_EQ(ListEntries(), kept);
    EXPECT_EQ(Selection(), std::vector<int>{0});
    EXPECT_EQ(SendMessageW(window.ListBox1.Handle(), LB_GETCOUNT, 0, 0), 200);
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_TRUE(ApplyEnabled());
}

TEST_F(WindowTest, DeleteWithNothingSelectedStillCountsAsAChange)
{
    auto& window = Start("1.1.1.1\r\n2.2.2.2\r\n");
    window.ListBox1.ClearSelection();
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    EXPECT_EQ(ListEntries().size(), 2u);
    EXPECT_EQ(Selection(), std::vector<int>{0});
    EXPECT_TRUE(window.ListModified);
    EXPECT_TRUE(ApplyEnabled());
}

TEST_F(WindowTest, DeletingTheLastEntriesDisablesDelete)
{
    auto& window = Start("1.1.1.1\r\n");
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    EXPECT_TRUE(ListEntries().empty());
    EXPECT_FALSE(DeleteEnabled());
}

TEST_F(WindowTest, ApplySavesAndLeavesDeleteEnabledEvenForAnEmptyList)
{
    auto& window = Start("1.1.1.1\r\n");
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    window.btnApply.Click();
    EXPECT_EQ(ReadBytes(ListPath()), "");
    EXPECT_FALSE(window.ListModified);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(DeleteEnabled());
    TestSeams::Answers = {TModalResult::Yes};
    window.btnDelete.Click();
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_TRUE(window.ListModified);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(window.phIPAddress1.Enabled());
}

TEST_F(WindowTest, OkSavesChangesAndClosesButLeavesAnUnchangedFileAlone)
{
    auto& window = Start("1.1.1.1\r\n");
    FILETIME before{}, after{};
    {
        HANDLE file = CreateFileW(ListPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        GetFileTime(file, nullptr, nullptr, &before);
        CloseHandle(file);
    }
    Sleep(20);
    window.BitBtnOk.Click();
    EXPECT_TRUE(Closed());
    HANDLE file = CreateFileW(ListPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &after);
    CloseHandle(file);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);

    FWindow.reset();
    Start("1.1.1.1\r\n");
    Add(2, 2, 2, 2);
    FWindow->BitBtnOk.Click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n2.2.2.2\r\n");
}

TEST_F(WindowTest, CancelAsksOnlyWhenThereAreUnsavedChanges)
{
    auto& window = Start("1.1.1.1\r\n");
    Add(2, 2, 2, 2);
    TestSeams::Answers = {TModalResult::No};
    window.BitBtnCancel.Click();
    EXPECT_FALSE(Closed());
    ASSERT_EQ(TestSeams::Messages.size(), 1u);
    EXPECT_EQ(TestSeams::Messages[0].Text,
              L"Changes made to the I.P. address list have not been saved.  Are you sure you want to cancel?");
    EXPECT_TRUE(window.ListModified);
    TestSeams::Answers = {TModalResult::Yes};
    window.BitBtnCancel.Click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n");

    FWindow.reset();
    TestSeams::Reset();
    Start("1.1.1.1\r\n");
    FWindow->BitBtnCancel.Click();
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(TestSeams::Messages.empty());
}

TEST_F(WindowTest, EscapePressesDeleteWhileItIsEnabledAndCancelOtherwise)
{
    auto& window = Start("1.1.1.1\r\n");
    TestSeams::Answers = {TModalResult::Yes};
    PressEscape(window);
    EXPECT_EQ(TestSeams::Messages.back().Text, L"Are you sure you want to delete the selected address(es) from the list?");
    EXPECT_FALSE(DeleteEnabled());
    TestSeams::Answers = {TModalResult::No};
    PressEscape(window);
    EXPECT_EQ(TestSeams::Messages.back().Text,
              L"Changes made to the I.P. address list have not been saved.  Are you sure you want to cancel?");
    EXPECT_FALSE(Closed());
}

TEST_F(WindowTest, AFailedSaveKeepsTheEntriesAndTheOldFile)
{
    auto& window = Start("1.1.1.1\r\n");
    Add(2, 2, 2, 2);
    {
        HeldOpen holder(ListPath());
        EXPECT_THROW(window.btnApply.Click(), EInOutError);
    }
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n");
    EXPECT_EQ(ListEntries(), (Entries{L"1.1.1.1", L"2.2.2.2"}));
    EXPECT_TRUE(window.ListModified);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(DeleteEnabled());
    {
        HeldOpen holder(ListPath());
        EXPECT_THROW(window.BitBtnOk.Click(), EInOutError);
    }
    EXPECT_FALSE(Closed());
    window.btnApply.Click();
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n2.2.2.2\r\n");
}

TEST_F(WindowTest, AListThatWasNotReadIsNeverSaved)
{
    WriteBytes(ListPath(), "1.1.1.1\r\n");
    {
        HeldOpen holder(ListPath());
        FWindow = std::make_unique<TfrmManageIPAddresses>();
        FWindow->Show();
        EXPECT_THROW(FWindow->Timer1Timer(), EInOutError);
    }
    auto& window = *FWindow;
    EXPECT_TRUE(ListEntries().empty());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(window.phIPAddress1.Enabled());
    Add(2, 2, 2, 2);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_THROW(window.UpdateFile(), Exception);
    EXPECT_THROW(window.BitBtnOk.Click(), Exception);
    EXPECT_FALSE(Closed());
    TestSeams::Answers = {TModalResult::No};
    PressEscape(window);  // Escape: Delete is disabled, so Cancel, which asks
    EXPECT_EQ(TestSeams::Messages.back().Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n");
}
