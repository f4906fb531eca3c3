// Components and release level over real folders.
#include "errors/Exception.h"
#include "files/FileSystem.h"
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"
#include "validation/Components.h"

namespace {

class ComponentsTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        LayOutComponents(FFolder.Path());
    }
    void WriteRelease(const char* bytes) { WriteBytes(FFolder / L"Rev.Txt", bytes); }
    bool Present() { return ComponentsPresent(FFolder.Path()); }
    ScratchFolder FFolder;
};

}  // namespace

TEST_F(ComponentsTest, AllComponentsAtLevel131Pass)
{
    EXPECT_TRUE(Present());
    for (const char* level : {" 131\r\n", "+131\r\n", "000131\r\n", "$83\r\n", "131"}) {
        WriteRelease(level);
        EXPECT_TRUE(Present()) << level;
    }
}

TEST_F(ComponentsTest, AnyOtherLevelFails)
{
    for (const char* level : {"130\r\n", "132\r\n", "-131\r\n"}) {
        WriteRelease(level);
        EXPECT_FALSE(Present()) << level;
    }
}

TEST_F(ComponentsTest, EachMissingComponentFails)
{
    ASSERT_EQ(RequiredComponents().size(), 4u);
    for (const std::wstring& component : RequiredComponents()) {
        const std::wstring path = FFolder / component;
        const std::string kept = ReadBytes(path);
        DeleteFileW(path.c_str());
        EXPECT_FALSE(Present()) << Narrow(component);
        WriteBytes(path, kept);
    }
    EXPECT_TRUE(Present());
}

TEST_F(ComponentsTest, AComponentThatIsAFolderDoesNotCount)
{
    DeleteFileW((FFolder / L"ZVQ").c_str());
    CreateDirectoryW((FFolder / L"ZVQ").c_str(), nullptr);
    EXPECT_FALSE(Present());
    RemoveDirectoryW((FFolder / L"ZVQ").c_str());
    WriteBytes(FFolder / L"ZVQ", "");
    DeleteFileW((FFolder / L"TABLDATA\\CATALOGX").c_str());
    EXPECT_FALSE(Present());  // TABLDATA without CATALOGX
}

TEST_F(ComponentsTest, AMalformedLevelRaisesTheConversionErrorAndLeavesTheFileFree)
{
    WriteRelease("131 \r\nsecond\r\n");
    try {
        Present();
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"''131 '' is not a valid integer value");
    }
    EXPECT_TRUE(DeleteFileW((FFolder / L"Rev.Txt").c_str())) << "the release file was left open";
    WriteRelease("");
    EXPECT_THROW(Present(), EConvertError);
    WriteRelease("131\r\n");
    EXPECT_TRUE(Present());
    // Leading blanks and zeros count for nothing however many, and the second line is not read.
    WriteRelease((std::string(300, ' ') + std::string(300, '0') + "131\r\n" + std::string(1 << 20, 'x')).c_str());
    EXPECT_TRUE(Present());
}

TEST_F(ComponentsTest, AHugeFirstLineIsRefusedByItsBeginningAndLeavesTheFileFree)
{
    WriteRelease((std::string(10 << 20, 'x') + "\r\n131\r\n").c_str());
    try {
        Present();
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"''" + std::wstring(64, L'x') + L"...'' is not a valid integer value");
    }
    EXPECT_TRUE(DeleteFileW((FFolder / L"Rev.Txt").c_str())) << "the release file was left open";
}

TEST_F(ComponentsTest, WithoutTheReleaseFileTheNewestLegacyFileGivesTheLevel)
{
    DeleteFileW((FFolder / L"Rev.Txt").c_str());
    EXPECT_EQ(ReadReleaseLevel(FFolder.Path()), 0);
    WriteBytes(FFolder / L"INPUT.EXE", "");
    EXPECT_EQ(ReadReleaseLevel(FFolder.Path()), 12);
    WriteBytes(FFolder / L"RUNTOOL.EXE", "");
    EXPECT_EQ(ReadReleaseLevel(FFolder.Path()), 52);
    WriteBytes(FFolder / L"TOOL55.EXE", "");
    EXPECT_EQ(ReadReleaseLevel(FFolder.Path()), 55);
    EXPECT_FALSE(Present());
}

TEST_F(ComponentsTest, AMissingFolderHasLevelZeroAndRestoresTheErrorMode)
{
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    EXPECT_EQ(ReadReleaseLevel(FFolder / L"not\\there"), 0);
    const UINT after = SetErrorMode(0);
    SetErrorMode(after);
    EXPECT_EQ(before, after);
}

TEST_F(ComponentsTest, ALockedReleaseFileFailsAfterTheRetries)
{
    HeldOpen holder(FFolder / L"Rev.Txt");
    try {
        Present();
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message().find(L"The following file could not be opened with Reset: \r\n" + (FFolder / L"Rev.Txt")), 0u);
    }
    EXPECT_EQ(TestSeams::Pauses, std::vector<unsigned>(17, 1000));
}
