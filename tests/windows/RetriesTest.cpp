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

TEST_F(RetriesTest, ResetSucceedsOnTheFirstAttemptAfterTheFileIsReleased)
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
    EXPECT_EQ(file.ReadLine(), L"10.0.0.1");
    CloseWithRetries(file);
}

TEST_F(RetriesTest, RewriteAndCloseNameTheirOwnOperation)
{
    ScratchFolder folder;
    TextFile file;
    file.Bind(folder / L"no\\such\\folder.txt");
    try {
        RewriteWithRetries(file);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be opened with Rewrite: \r\n"), 0u);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 1000));
    TestSeams::Reset();
    try {
        CloseWithRetries(file);  // never opened
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be closed: \r\n"), 0u);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 2500));
}

TEST_F(RetriesTest, DeletingAReadOnlyFileClearsTheAttributeAndTriesAgainAtOnce)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"readonly.txt";
    WriteBytes(path, "x");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    DeleteFileWithRetries(path, true);
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(RetriesTest, DeletingAReadOnlyFileWithoutClearingGivesUpAndSaysItStillExists)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"readonly.txt";
    WriteBytes(path, "x");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        DeleteFileWithRetries(path, false);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), L"Could not delete the file " + path + L", and it has been verified that it does still exist.");
        EXPECT_EQ(error.ErrorCode(), 0u);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 2500));
    EXPECT_TRUE(PathExists(path));
}

TEST_F(RetriesTest, DeletingAMissingFileNeverCountsAsDone)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"missing.txt";
    try {
        DeleteFileWithRetries(path, true);
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), L"Could not delete the file " + path + L" as it does not exist.");
    }
    EXPECT_EQ(TestSeams::Pauses.size(), 17u);
}

TEST_F(RetriesTest, AFileThatAnotherProgramRemovesCountsAsDeleted)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"held.txt";
    WriteBytes(path, "x");
    auto holder = std::make_unique<HeldOpen>(path);
    TestSeams::OnPause = [&](std::size_t pause) {
        if (pause == 1) {
            holder->Release();
            DeleteFileW(path.c_str());
        }
    };
    EXPECT_NO_THROW(DeleteFileWithRetries(path, false));
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>{2500});
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
