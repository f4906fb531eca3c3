// The file-system helpers: telling files from folders quietly, and the unique scratch names.
#include "files/FileSystem.h"
#include "tests/windows/TestSupport.h"

TEST(FileSystem, TellsFilesFromDirectoriesWithoutChangingTheErrorMode)
{
    ScratchFolder folder;
    WriteBytes(folder / L"file", "x");
    CreateDirectoryW((folder / L"dir").c_str(), nullptr);
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    EXPECT_TRUE(FileExists(folder / L"file"));
    EXPECT_FALSE(FileExists(folder / L"dir"));
    EXPECT_FALSE(FileExists(folder / L"none"));
    EXPECT_TRUE(DirectoryExistsQuietly(folder / L"dir"));
    EXPECT_FALSE(DirectoryExistsQuietly(folder / L"file"));
    EXPECT_FALSE(DirectoryExistsQuietly(folder / L"none\\deeper"));
    const UINT after = SetErrorMode(0);
    SetErrorMode(after);
    EXPECT_EQ(before, after);
}

TEST(FileSystem, UniqueNamesLeaveTakenNamesBehind)
{
    ScratchFolder folder;
    for (int round = 0; round < 20; ++round) {
        const std::wstring file = UniqueFileName(folder.Path(), L".Tmp");
        EXPECT_FALSE(PathExists(file));
        EXPECT_EQ(file.substr(file.size() - 4), L".Tmp");
        WriteBytes(file, "");
        const std::wstring sub = UniqueFolderName(folder.Path());
        EXPECT_FALSE(PathExists(sub));
        CreateDirectoryW(sub.c_str(), nullptr);
    }
    EXPECT_EQ(FileCountIn(folder.Path()), 40);
}
