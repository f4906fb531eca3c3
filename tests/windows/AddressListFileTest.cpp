// The address list file: its exact bytes, the lines it accepts, and the files that go wrong.
#include "app/AddressListFile.h"
#include "errors/Exception.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"

#include <memory>

namespace {

class AddressListFileTest : public SeamTest {
protected:
    std::wstring ListPath() const { return FFolder / L"IPList.Txt"; }
    Entries Load() { return LoadAddressList(FFolder.Path()); }
    void Save(const Entries& entries) { SaveAddressList(FFolder.Path(), entries); }
    ScratchFolder FFolder;
};

}  // namespace

TEST_F(AddressListFileTest, AMissingFileLoadsAsAnEmptyListAndStaysMissing)
{
    EXPECT_EQ(Load(), Entries{});
    EXPECT_FALSE(PathExists(ListPath()));
}

TEST_F(AddressListFileTest, LinesLoadAsTheyStandInFileOrder)
{
    struct Case {
        const char* Bytes;
        Entries Expected;
    } cases[] = {
        {"", {}},
        {"10.0.0.2\r\n\r\n  10.0.0.1\r\n", {L"10.0.0.2", L"", L"  10.0.0.1"}},
        {"10.0.0.10\r\n10.0.0.2\r\n10.0.0.2\r\n", {L"10.0.0.10", L"10.0.0.2", L"10.0.0.2"}},
        {"1.1.1.1\n2.2.2.2\n", {L"1.1.1.1", L"2.2.2.2"}},
        {"1.1.1.1\r\n2.2.2.2", {L"1.1.1.1", L"2.2.2.2"}},
        {"1.1.1.1\r2.2.2.2\r\n", {L"1.1.1.12.2.2.2"}},
        {"1.1.1.1\r\n2.2\x1A.2.2\r\n3.3.3.3\r\n", {L"1.1.1.1", L"2.2"}},
        {"10.0.0.1 \r\n\r\n\r\n", {L"10.0.0.1 ", L"", L""}},
        {"\xC0\xE9\x80\r\n", {L"\u00C0\u00E9\u20AC"}},
    };
    for (const Case& c : cases) {
        WriteBytes(ListPath(), c.Bytes);
        EXPECT_EQ(Load(), c.Expected) << "bytes: " << c.Bytes;
    }
}

TEST_F(AddressListFileTest, SavesOneCrLfLineAnEntryAndNothingElse)
{
    Save({L"9.1.1.1", L"10.0.0.2"});
    EXPECT_EQ(ReadBytes(ListPath()), "9.1.1.1\r\n10.0.0.2\r\n");
    Save({});
    EXPECT_TRUE(PathExists(ListPath()));
    EXPECT_EQ(ReadBytes(ListPath()), "");
    Save({L"", L"any text \u00e9"});
    EXPECT_EQ(ReadBytes(ListPath()), "\r\nany text \xe9\r\n");
    EXPECT_EQ(FileCountIn(FFolder.Path()), 1);  // no scratch file left beside it
}

TEST_F(AddressListFileTest, LoadThenSaveGivesBackTheSameBytes)
{
    const std::string bytes = "10.0.0.10\r\n  spaced  \r\n\r\n192.168.1.1\r\n\xe9t\xe9\r\n";
    WriteBytes(ListPath(), bytes);
    Save(Load());
    EXPECT_EQ(ReadBytes(ListPath()), bytes);
    WriteBytes(ListPath(), "a\nb");
    Save(Load());
    EXPECT_EQ(ReadBytes(ListPath()), "a\r\nb\r\n");
}

TEST_F(AddressListFileTest, SavingOverAReadOnlyFileLeavesAWritableOne)
{
    WriteBytes(ListPath(), "old\r\n");
    SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Save({L"1.2.3.4"});
    EXPECT_EQ(ReadBytes(ListPath()), "1.2.3.4\r\n");
    EXPECT_EQ(GetFileAttributesW(ListPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(AddressListFileTest, ExistingFileIsFoundWhateverItsLetterCase)
{
    WriteBytes(FFolder / L"iplist.txt", "5.5.5.5\r\n");
    EXPECT_EQ(Load(), Entries{L"5.5.5.5"});
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
    HeldOpen holder(ListPath());
    try {
        Save({L"1.1.1.1"});
        FAIL();
    } catch (const EInOutError& error) {
        // The deletion's sentence is true here, and the system's reason follows it.
        const std::wstring sentence =
            L"Could not delete the file " + ListPath() + L", and it has been verified that it does still exist.\r\n\r\n";
        EXPECT_EQ(error.Message().substr(0, sentence.size()), sentence);
        EXPECT_GT(error.Message().size(), sentence.size());
    }
    // The deletion's schedule: after the first failure the attributes are written back without
    // the read-only flag and the next attempt follows at once; 16 pauses remain.
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
        SaveAddressList(gone, {L"1.1.1.1"});
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
    EXPECT_EQ(Load(), Entries{});
    try {
        Save({L"1.1.1.1"});
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
    HeldOpen holder(ListPath());
    EXPECT_THROW(Save({L"1.1.1.1"}), EInOutError);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].find(L"IPList.Txt."), 0u);
}

TEST_F(AddressListFileTest, AFolderPathPastTheLimitFailsBeforeAnyRetry)
{
    const std::wstring deep = FFolder.Path() + L"\\" + std::wstring(260 - FFolder.Path().size(), L'x');
    try {
        SaveAddressList(deep, {L"1.1.1.1"});
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILENAME_EXCED_RANGE));
    }
    EXPECT_TRUE(TestSeams::Pauses.empty());
}

TEST_F(AddressListFileTest, LoadsAFiftyMegabyteFile)
{
    std::string bytes;
    const std::string line = "192.168.100.200\r\n";
    bytes.reserve(50u << 20);
    while (bytes.size() + line.size() <= (50u << 20))
        bytes += line;
    WriteBytes(ListPath(), bytes);
    const Entries list = Load();
    EXPECT_EQ(list.size(), bytes.size() / line.size());
    EXPECT_EQ(list.back(), L"192.168.100.200");
}
