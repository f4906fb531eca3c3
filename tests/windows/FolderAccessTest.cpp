// The folder access test over real folders, and over posed failures that Wine cannot produce.
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"
#include "access/FolderAccess.h"

#include <functional>

namespace {

// The system's operations, with single ones replaced where a test poses a condition.
class PosedOperations : public FolderAccessOperations {
public:
    std::function<bool(const std::wstring&)> RemoveFolderPosed;
    std::function<bool(const std::wstring&)> CreateFolderPosed;
    std::function<bool(const std::wstring&)> CreateFilePosed;
    std::function<bool()> ClosePosed;
    std::vector<std::wstring> Opened;

    bool CreateFolder(const std::wstring& path) override
    {
        return CreateFolderPosed ? CreateFolderPosed(path) : FolderAccessOperations::CreateFolder(path);
    }
    bool RemoveFolder(const std::wstring& path) override
    {
        return RemoveFolderPosed ? RemoveFolderPosed(path) : FolderAccessOperations::RemoveFolder(path);
    }
    HANDLE CreateScratchFile(const std::wstring& path) override
    {
        if (CreateFilePosed && !CreateFilePosed(path))
            return INVALID_HANDLE_VALUE;
        return FolderAccessOperations::CreateScratchFile(path);
    }
    HANDLE OpenExistingFile(const std::wstring& path) override
    {
        Opened.push_back(path);
        return FolderAccessOperations::OpenExistingFile(path);
    }
    bool CloseFile(HANDLE file) override
    {
        const bool closed = FolderAccessOperations::CloseFile(file);
        return ClosePosed && !ClosePosed() ? false : closed;
    }
};

class FolderAccessTestCase : public SeamTest {
protected:
    StepStates Run(bool includeFileSteps = true)
    {
        return RunFolderAccessSteps(FOperations, FFolder.Path(), includeFileSteps, [this] { ++FResponsive; });
    }
    ScratchFolder FFolder;
    PosedOperations FOperations;
    int FResponsive = 0;
};

void Nothing() {}


const StepStates AllPassed = {ssSuccess, ssSuccess, ssSuccess, ssSuccess, ssSuccess};

}  // namespace

TEST_F(FolderAccessTestCase, AWritableFolderPassesAndKeepsNothing)
{
    WriteBytes(FFolder / L"data.txt", "data");
    EXPECT_EQ(Run(), AllPassed);
    EXPECT_EQ(FResponsive, 2);  // after the folder steps and after the file steps
    EXPECT_TRUE(AccessTestPassed(FolderAccessTest(FFolder.Path(), true, Nothing)));
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);
    EXPECT_EQ(ReadBytes(FFolder / L"data.txt"), "data");
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(FolderAccessTestCase, ASubFolderThatWillNotGoFailsAfterThreeAttempts)
{
    // Stands for a folder whose sub-folders can be created but not removed (a share that lacks the
    // delete right), which Wine running as root cannot give.
    int attempts = 0;
    std::wstring created;
    FOperations.RemoveFolderPosed = [&](const std::wstring& path) {
        ++attempts;
        created = path;
        return false;
    };
    WriteBytes(FFolder / L"data.txt", "data");
    const StepStates states = Run();
    EXPECT_EQ(states, (StepStates{ssSuccess, ssFailure, ssSuccess, ssSuccess, ssSuccess}));
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(TestSeams::Pauses, (std::vector<unsigned>{300, 300}));
    EXPECT_TRUE(PathExists(created));  // the test folder stays behind
    EXPECT_FALSE(AccessTestPassed(states));
}

TEST_F(FolderAccessTestCase, AFolderWhereNothingCanBeCreatedFailsBothCreations)
{
    FOperations.CreateFolderPosed = [](const std::wstring&) { return false; };
    FOperations.CreateFilePosed = [](const std::wstring&) { return false; };
    EXPECT_EQ(Run(), (StepStates{ssFailure, ssNotPerformed, ssFailure, ssNotPerformed, ssNotPerformed}));
}

TEST_F(FolderAccessTestCase, AMissingFolderFailsWithoutRaising)
{
    EXPECT_FALSE(AccessTestPassed(FolderAccessTest(FFolder / L"missing", true, Nothing)));
}

TEST_F(FolderAccessTestCase, ProgramsLibrariesHiddenFilesAndFoldersAreNoCandidates)
{
    for (const wchar_t* name : {L"QVR.EXE", L"tool.exe", L"lib.Dll", L"link.pif"})
        WriteBytes(FFolder / name, "x");
    WriteBytes(FFolder / L"hidden.txt", "x");
    SetFileAttributesW((FFolder / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(FFolder / L"system.txt", "x");
    SetFileAttributesW((FFolder / L"system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((FFolder / L"sub.txt").c_str(), nullptr);
    EXPECT_EQ(Run(), (StepStates{ssSuccess, ssSuccess, ssSuccess, ssSuccess, ssNotPerformed}));
    EXPECT_TRUE(FOperations.Opened.empty());
    WriteBytes(FFolder / L"ZVQ", "no extension");
    EXPECT_EQ(Run(), AllPassed);
}

TEST_F(FolderAccessTestCase, AReadOnlyCandidateFailsUntilAWritableOneOpens)
{
    WriteBytes(FFolder / L"a.txt", "x");
    SetFileAttributesW((FFolder / L"a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileW((FFolder / L"a.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        SetFileAttributesW((FFolder / L"a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "read-only files open for writing here (Wine running as root)";
    }
    EXPECT_EQ(Run()[asOpenExistingFile], ssFailure);
    WriteBytes(FFolder / L"b.txt", "x");
    EXPECT_EQ(Run()[asOpenExistingFile], ssSuccess);
    EXPECT_FALSE(FOperations.Opened.empty());
    SetFileAttributesW((FFolder / L"a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderAccessTestCase, ACandidateHeldWithoutSharingFailsUntilAnotherOpens)
{
    WriteBytes(FFolder / L"held.txt", "x");
    {
        HeldOpen holder(FFolder / L"held.txt");
        EXPECT_EQ(Run()[asOpenExistingFile], ssFailure);
        WriteBytes(FFolder / L"free.txt", "x");
        EXPECT_EQ(Run()[asOpenExistingFile], ssSuccess);
    }
}

TEST_F(FolderAccessTestCase, AScratchFileThatWillNotCloseFailsItsStepAndIsNotDeleted)
{
    // Stands for a close that fails (a network drive gone away), which Wine cannot give: the
    // handle is given up all the same, so a second attempt could only fail on the handle.
    int closes = 0;
    FOperations.ClosePosed = [&] { return ++closes > 1; };
    const StepStates states = Run();
    EXPECT_EQ(states[asCreateFile], ssFailure);
    EXPECT_EQ(states[asDeleteFile], ssNotPerformed);
    EXPECT_EQ(closes, 2);  // the scratch file's one attempt, then the existing file's
    EXPECT_TRUE(TestSeams::Pauses.empty());
    EXPECT_FALSE(AccessTestPassed(states));
}

TEST_F(FolderAccessTestCase, WithoutFileStepsOnlyTheDirectoryStepsRun)
{
    WriteBytes(FFolder / L"data.txt", "data");
    EXPECT_EQ(Run(false), (StepStates{ssSuccess, ssSuccess, ssNotPerformed, ssNotPerformed, ssNotPerformed}));
    EXPECT_TRUE(FOperations.Opened.empty());
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);
}
