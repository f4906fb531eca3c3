// The retrying file operations: attempts and pauses are counted through the pause seam.
#include "errors/Exception.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"

#include <memory>

using RetriesTest = SeamTest;

TEST_F(RetriesTest, ResetGivesUpAfter18AttemptsWithTheFileAndTheLastError)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"missing.txt";
    TextFile file;
    file.Bind(path);
    try {
        ResetWithRetries(file);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
        const std::wstring start = L"The following file could not be opened with Reset: \r\n" + path +
                                   L"\r\n\r\nStandard exception message: ";
        EXPECT_EQ(error.Message().substr(0, start.size()), start);
        EXPECT_NE(error.Message().find(L"\r\n\r\nException occurred at address: "), std::wstring::npos);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 1000));
}

TEST_F(RetriesTest, ResetSucceedsOnTheFirstAttemptAfterTheFileIsReleasedSayingMeanwhileWhatItWaitsFor)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"held.txt";
    WriteBytes(path, "10.0.0.1\r\n");
    auto holder = std::make_unique<HeldOpen>(path);
    TestSeams::OnPause = [&](std::size_t pause) {
        if (pause == 3)
            holder->Release();
    };
    TextFile file;
    file.Bind(path);
    EXPECT_NO_THROW(ResetWithRetries(file));
    EXPECT_EQ(TestSeams::Pauses.size(), 3u);
    ASSERT_EQ(TestSeams::Notices.size(), 3u);
    for (unsigned pause = 0; pause < 3; ++pause) {
        EXPECT_EQ(TestSeams::Notices[pause].For, L"held.txt, which another program holds");
        EXPECT_EQ(TestSeams::Notices[pause].WaitedMs, pause * 1000);
    }
    EXPECT_EQ(TestSeams::WaitsOver, 1);
    EXPECT_EQ(file.ReadAll(100), "10.0.0.1\r\n");
    file.Close();
}

TEST_F(RetriesTest, CreateAndCloseNameTheirOwnOperation)
{
    ScratchFolder folder;
    TextFile file;
    file.Bind(folder / L"no\\such\\folder.txt");
    try {
        CreateNewWithRetries(file);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be created: \r\n"), 0u);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 1000));
    TestSeams::Reset();
    // A failed close has given the handle up: it is not tried again, and its own reason is told.
    try {
        file.Close();  // never opened
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be closed: \r\n"), 0u);
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_INVALID_HANDLE));
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(RetriesTest, CreatingANewFileOverATakenNameFailsAtOnceAndLeavesTheFileAlone)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"taken.Tmp";
    WriteBytes(path, "someone else's");
    TextFile file;
    file.Bind(path);
    try {
        CreateNewWithRetries(file);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILE_EXISTS));
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
    EXPECT_EQ(ReadBytes(path), "someone else's");
}
