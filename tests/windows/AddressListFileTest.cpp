// The address list file: its exact bytes, what a save keeps, a save that finds the file changed,
// and the files and folders that go wrong.
#include "app/AddressListFile.h"
#include "errors/Exception.h"
#include "files/ListText.h"
#include "tests/common/EntryLists.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"

namespace {

class AddressListFileTest : public SeamTest {
protected:
    std::wstring ListPath() const { return FFolder / L"IPList.Txt"; }
    ListFile Load() { return ReadAddressList(FFolder.Path()); }
    // Saves over the file as it is now, as a save that finds it unchanged does.
    std::optional<ListFileState> Save(const Entries& entries, const ListFrame& frame = {})
    {
        return WriteAddressList(FFolder.Path(), entries, frame, Load().State);
    }
    ScratchFolder FFolder;
};

void SetAge(const std::wstring& path, unsigned hours)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= hours * 3600ull * 10000000;
    const FILETIME then{time.LowPart, time.HighPart};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &then);
    CloseHandle(file);
}

struct LoadCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::wstring> Shown;
    HiddenText Hidden;
    std::string SavedBack;  // what a save of the list as loaded writes
};

const LoadCase LoadCases[] = {
    {"nothing", "", {}, {}, ""},
    {"CR LF lines as they stand", "10.0.0.2\r\n\r\n  10.0.0.1\r\n", {L"10.0.0.2", L"", L"  10.0.0.1"}, {}, "10.0.0.2\r\n\r\n  10.0.0.1\r\n"},
    {"duplicates in file order", "10.0.0.10\r\n10.0.0.2\r\n10.0.0.2\r\n", {L"10.0.0.10", L"10.0.0.2", L"10.0.0.2"}, {},
     "10.0.0.10\r\n10.0.0.2\r\n10.0.0.2\r\n"},
    {"LF line ends", "1.1.1.1\n2.2.2.2\n", {L"1.1.1.1", L"2.2.2.2"}, {}, "1.1.1.1\r\n2.2.2.2\r\n"},
    {"a CR alone ends a line", "1.1.1.1\r2.2.2.2\r", {L"1.1.1.1", L"2.2.2.2"}, {}, "1.1.1.1\r\n2.2.2.2\r\n"},
    {"no line end at the end", "1.1.1.1\r\n2.2.2.2", {L"1.1.1.1", L"2.2.2.2"}, {}, "1.1.1.1\r\n2.2.2.2\r\n"},
    {"trailing blanks and empty lines", "10.0.0.1 \r\n\r\n\r\n", {L"10.0.0.1 ", L"", L""}, {}, "10.0.0.1 \r\n\r\n\r\n"},
    {"code page text", "\xC0\xE9\x80\r\n", {L"\u00C0\u00E9\u20AC"}, {}, "\xC0\xE9\x80\r\n"},
    {"a Ctrl-Z ends the list, and what follows it is kept", "1.1.1.1\r\n2.2\x1A.2.2\r\n3.3.3.3\r\n", {L"1.1.1.1", L"2.2"},
     {0, 0, 2}, "1.1.1.1\r\n2.2\r\n\x1A.2.2\r\n3.3.3.3\r\n"},
    {"a Ctrl-Z alone at the end hides nothing", "1.1.1.1\r\n\x1A", {L"1.1.1.1"}, {}, "1.1.1.1\r\n\x1A"},
    {"a NUL inside a line", std::string("1.1.1.1\r\n2.2\0.2.2\r\n", 19), {L"1.1.1.1", std::wstring(L"2.2\0.2.2", 8)}, {2, 0, 0},
     std::string("1.1.1.1\r\n2.2\0.2.2\r\n", 19)},
};

}  // namespace

TEST_F(AddressListFileTest, AMissingFileLoadsAsAnEmptyListAndStaysMissing)
{
    const ListFile list = Load();
    EXPECT_TRUE(list.Lines.empty());
    EXPECT_EQ(list.State, ListFileState());
    EXPECT_FALSE(PathExists(ListPath()));
}

TEST_F(AddressListFileTest, LoadsLinesAsTheyStandAndASaveOfThemKeepsTheirText)
{
    for (const LoadCase& c : LoadCases) {
        WriteBytes(ListPath(), c.Bytes);
        const ListFile list = Load();
        EXPECT_EQ(Texts(list.Lines), c.Shown) << c.Name;
        EXPECT_EQ(list.State, (ListFileState{true, c.Bytes})) << c.Name;
        EXPECT_EQ(list.Hidden.NulLine, c.Hidden.NulLine) << c.Name;
        EXPECT_EQ(list.Hidden.CodePageLine, c.Hidden.CodePageLine) << c.Name;
        EXPECT_EQ(list.Hidden.EndOfTextLine, c.Hidden.EndOfTextLine) << c.Name;
        EXPECT_EQ(Save(list.Lines, list.Frame), (ListFileState{true, c.SavedBack})) << c.Name;
        EXPECT_EQ(ReadBytes(ListPath()), c.SavedBack) << c.Name;
    }
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);  // no scratch file left beside it
}

TEST_F(AddressListFileTest, SavesOneCrLfLineAnEntryAndNothingElse)
{
    Save(Listed({L"9.1.1.1", L"10.0.0.2"}));
    EXPECT_EQ(ReadBytes(ListPath()), "9.1.1.1\r\n10.0.0.2\r\n");
    Save({});
    EXPECT_EQ(ReadBytes(ListPath()), "");
    Save(Listed({L"", L"any text \u00e9"}));
    EXPECT_EQ(ReadBytes(ListPath()), "\r\nany text \xe9\r\n");
    Save({{L"?", "\x81\xFF"}});  // bytes kept as the file had them
    EXPECT_EQ(ReadBytes(ListPath()), "\x81\xFF\r\n");
}

TEST_F(AddressListFileTest, ASaveWritesNothingOverAFileThatChangedSinceItWasRead)
{
    struct Case {
        const char* Name;
        const char* Before;  // nullptr: no file
        const char* Meanwhile;
    } cases[] = {
        {"another program added a line", "1.1.1.1\r\n", "1.1.1.1\r\n2.2.2.2\r\n"},
        {"another program wrote the file first", nullptr, "3.3.3.3\r\n"},
        {"another program removed the file", "1.1.1.1\r\n", nullptr},
    };
    for (const Case& c : cases) {
        DeleteFileW(ListPath().c_str());
        if (c.Before)
            WriteBytes(ListPath(), c.Before);
        const ListFileState read = Load().State;
        DeleteFileW(ListPath().c_str());
        if (c.Meanwhile)
            WriteBytes(ListPath(), c.Meanwhile);
        EXPECT_EQ(WriteAddressList(FFolder.Path(), Listed({L"9.9.9.9"}), {}, read), std::nullopt) << c.Name;
        EXPECT_EQ(ReadBytes(ListPath()), c.Meanwhile ? c.Meanwhile : "<missing>") << c.Name;
        EXPECT_EQ(FileCountIn(FFolder.Path()), c.Meanwhile ? 1 : 0) << c.Name;
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(AddressListFileTest, SavingOverAReadOnlyFileLeavesAWritableOne)
{
    WriteBytes(ListPath(), "old\r\n");
    SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Save(Listed({L"1.2.3.4"}));
    EXPECT_EQ(ReadBytes(ListPath()), "1.2.3.4\r\n");
    EXPECT_EQ(GetFileAttributesW(ListPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(AddressListFileTest, ExistingFileIsFoundWhateverItsLetterCase)
{
    WriteBytes(FFolder / L"iplist.txt", "5.5.5.5\r\n");
    EXPECT_EQ(Texts(Load().Lines), std::vector<std::wstring>{L"5.5.5.5"});
}

TEST_F(AddressListFileTest, AFileHeldByAnotherProgramFailsToLoadAfterTheRetries)
{
    WriteBytes(ListPath(), "1.1.1.1\r\n");
    HeldOpen holder(ListPath());
    try {
        Load();
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be opened with Reset: \r\n" + ListPath()), 0u);
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(TestSeams::Pauses.size(), 17u);
    holder.Release();
    EXPECT_EQ(ReadBytes(ListPath()), "1.1.1.1\r\n");
}

TEST_F(AddressListFileTest, ASaveThatCannotReplaceAHeldFileLeavesItWholeAndReadOnlyAsItWas)
{
    WriteBytes(ListPath(), "keep me\r\n");
    SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_READONLY);
    const ListFileState read = Load().State;
    HeldOpen holder(ListPath());
    try {
        WriteAddressList(FFolder.Path(), Listed({L"1.1.1.1"}), {}, read);
        FAIL();
    } catch (const EInOutError& error) {
        const std::wstring sentence =
            L"Could not delete the file " + ListPath() + L", and it has been verified that it does still exist.\r\n\r\n";
        EXPECT_EQ(error.Message().substr(0, sentence.size()), sentence);
        EXPECT_GT(error.Message().size(), sentence.size());
    }
    // After the first failure the read-only flag is taken away and the next attempt follows at
    // once; 16 pauses remain.
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(16, 2500));
    holder.Release();
    EXPECT_EQ(ReadBytes(ListPath()), "keep me\r\n");
    EXPECT_NE(GetFileAttributesW(ListPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);
}

TEST_F(AddressListFileTest, AFirstSaveThatCannotCreateItsFileNamesTheListAndTheReason)
{
    // A folder that cannot take new files: here, one that no longer exists.
    const std::wstring gone = FFolder / L"gone";
    try {
        WriteAddressList(gone, Listed({L"1.1.1.1"}), {}, {});
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be created: \r\n" + AddressListPath(gone) +
                                       L"\r\n\r\nStandard exception message: "),
                  0u)
            << Narrow(error.Message());
        EXPECT_EQ(error.Message().find(L".Tmp"), std::wstring::npos);
    }
    EXPECT_EQ(FileCountIn(FFolder.Path()), 0);
}

TEST_F(AddressListFileTest, AFolderInPlaceOfTheListIsNeitherReadNorReplaced)
{
    CreateDirectoryW(ListPath().c_str(), nullptr);
    WriteBytes(FFolder / L"IPList.Txt\\inside.txt", "x");
    EXPECT_TRUE(Load().Lines.empty());
    try {
        Save(Listed({L"1.1.1.1"}));
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), L"The following file could not be replaced: \r\n" + ListPath() +
                                       L"\r\n\r\nA folder of that name stands in its place.");
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
    EXPECT_EQ(ReadBytes(FFolder / L"IPList.Txt\\inside.txt"), "x");
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);
}

TEST_F(AddressListFileTest, TheNewListIsWrittenUnderANameOfItsOwnThatTellsWhoseItIs)
{
    std::vector<std::wstring> seen;
    TestSeams::OnPause = [&](std::size_t) {
        WIN32_FIND_DATAW entry;
        HANDLE listing = FindFirstFileW((FFolder / L"*.Tmp").c_str(), &entry);
        if (listing != INVALID_HANDLE_VALUE) {
            seen.push_back(entry.cFileName);
            FindClose(listing);
        }
    };
    WriteBytes(ListPath(), "old\r\n");
    const ListFileState read = Load().State;
    HeldOpen holder(ListPath());
    EXPECT_THROW(WriteAddressList(FFolder.Path(), Listed({L"1.1.1.1"}), {}, read), EInOutError);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(IsListScratchName(seen[0])) << Narrow(seen[0]);
    EXPECT_EQ(seen[0].find(L"IPList.Txt."), 0u);
}

TEST_F(AddressListFileTest, ASaveRemovesOnlyTheScratchFilesThatCrashesLeftAnHourAgoOrMore)
{
    const struct {
        const wchar_t* Name;
        unsigned AgeHours;
        bool Kept;
    } files[] = {
        {L"IPList.Txt.5012345.Tmp", 2, false}, {L"IPList.Txt.5012345-3.Tmp", 30, false}, {L"IP00C0FF.Tmp", 2, false},
        {L"IPList.Txt.7012345.Tmp", 0, true},  // another workstation's save, perhaps still going on
        {L"Other.Tmp", 2, true},               {L"IPList.Txt.old.Tmp", 2, true}, {L"IPList.Txt.Tmp", 2, true},
    };
    for (const auto& file : files) {
        WriteBytes(FFolder / file.Name, "left");
        SetAge(FFolder / file.Name, file.AgeHours);
    }
    Save(Listed({L"1.1.1.1"}));
    for (const auto& file : files)
        EXPECT_EQ(PathExists(FFolder / file.Name), file.Kept) << Narrow(file.Name);
}

TEST_F(AddressListFileTest, SavesInEveryFolderWhereTheListItselfFits)
{
    // A folder path of 248 characters: the list's is 259, its scratch file's some 16 more.
    const std::wstring deep = FFolder.Path() + L"\\" + std::wstring(247 - FFolder.Path().size(), L'x');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    EXPECT_TRUE(WriteAddressList(deep, Listed({L"1.1.1.1"}), {}, {}).has_value());
    EXPECT_EQ(Texts(ReadAddressList(deep).Lines), std::vector<std::wstring>{L"1.1.1.1"});
    EXPECT_EQ(FileCountIn(L"\\\\?\\" + deep), 1);
    DeleteFileW((L"\\\\?\\" + AddressListPath(deep)).c_str());
    RemoveDirectoryW((L"\\\\?\\" + deep).c_str());

    // One character more, and the list itself does not fit: that fails before any retry.
    const std::wstring deeper = deep + L"y";
    try {
        WriteAddressList(deeper, Listed({L"1.1.1.1"}), {}, {});
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILENAME_EXCED_RANGE));
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(AddressListFileTest, AFilePastTheLimitsIsAnErrorNamingTheListAndIsLeftAsItIs)
{
    const std::string tooLarge(MaxListBytes + 1, '1');
    WriteBytes(ListPath(), tooLarge);
    try {
        Load();
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), TooLargeMessage(ListPath()));
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILE_TOO_LARGE));
    }
    EXPECT_EQ(ReadBytes(ListPath()), tooLarge);
}
