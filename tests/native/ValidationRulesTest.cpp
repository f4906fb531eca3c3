// The rules of the installation checks that need no system: the supported releases, the 64-bit
// probe's verdict, the release level's conversion, and the unsupported-system message.
#include "errors/Exception.h"
#include "tests/common/ReleaseLevelLine.h"
#include "validation/SupportRule.h"

#include <gtest/gtest.h>

namespace {

struct Release {
    const char* Name;
    unsigned long PlatformId;
    bool EntryFound;
    unsigned DirectoryLength;
    unsigned long ProbeError;
    int Major, Minor;
    PlatformClass Expected;
    bool Supported;
};

const Release Releases[] = {
    {"Windows 98", 1, false, 0, 0, 4, 10, PlatformClass::pcWindows9x, false},
    {"Windows Me", 1, false, 0, 0, 4, 90, PlatformClass::pcWindows9x, false},
    {"Windows 9x reporting 5.1", 1, true, 20, 0, 5, 1, PlatformClass::pcWindows9x, false},
    {"Windows NT 4.0", 2, false, 0, 0, 4, 0, PlatformClass::pcWindowsNT32, false},
    {"Windows 2000, no entry", 2, false, 0, 0, 5, 0, PlatformClass::pcWindowsNT32, true},
    {"32-bit Windows XP, entry fails with 120", 2, true, 0, 120, 5, 1, PlatformClass::pcWindowsNT32, true},
    {"Windows XP x64", 2, true, 19, 0, 5, 2, PlatformClass::pcWindowsNT64, true},
    {"entry fails with another error", 2, true, 0, 5, 5, 2, PlatformClass::pcWindowsNT64, true},
    {"Windows Vista", 2, true, 19, 0, 6, 0, PlatformClass::pcWindowsNT64, true},
    {"Windows 7 x64", 2, true, 19, 0, 6, 1, PlatformClass::pcWindowsNT64, true},
    {"Windows 8", 2, false, 0, 0, 6, 2, PlatformClass::pcWindowsNT32, true},
    {"Windows 8.1", 2, true, 19, 0, 6, 3, PlatformClass::pcWindowsNT64, true},
    {"Windows 10 without a supported-system list", 2, true, 19, 0, 6, 2, PlatformClass::pcWindowsNT64, true},
    {"a release reporting 6.4", 2, true, 19, 0, 6, 4, PlatformClass::pcWindowsNT64, false},
    {"Windows 10 reporting 10.0", 2, true, 19, 0, 10, 0, PlatformClass::pcWindowsNT64, false},
    {"Win32s", 0, false, 0, 0, 6, 1, PlatformClass::pcOther, false},
};

}  // namespace

TEST(SupportRule, DecidesEachReleaseOnItsPlatformAndVersion)
{
    for (const Release& r : Releases) {
        const PlatformClass platform = ClassifyPlatform(r.PlatformId, Is64BitFromProbe(r.EntryFound, r.DirectoryLength, r.ProbeError));
        EXPECT_EQ(platform, r.Expected) << r.Name;
        EXPECT_EQ(IsSupportedRelease(platform, r.Major, r.Minor), r.Supported) << r.Name;
    }
}

TEST(SupportRule, UnsupportedSystemMessage)
{
    EXPECT_EQ(UnsupportedSystemMessage(),
              L"Unsupported operating system detected.  Tessaline is intended to be used with these operating systems:"
              L"\r\n      Windows 2000\r\n      Windows XP\r\n      Windows Server 2003\r\n      Windows Vista"
              L"\r\n      Windows Server 2008\r\n      Windows 7\r\n      Windows Server 2012\r\n      Windows 8"
              L"\r\n      Windows 8.1\r\n\r\n"
              L"Contact Morvath Industries if you need to run the system on a different platform.");
}

namespace {

std::wstring Widened(const std::string& bytes)
{
    std::wstring wide;
    for (const unsigned char byte : bytes)
        wide += static_cast<wchar_t>(byte);
    return wide;
}

}  // namespace

TEST(ReleaseLevelConversion, AcceptsTheWholeNumbersOfTheFirstLine)
{
    const struct {
        std::string Line;
        std::int32_t Value;
    } accepted[] = {
        {"131", 131},          {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"$FFFFFFFF", -1},
        {"0x83", 131},         {"0X83", 131},              {"x83", 131},                     {"X83", 131},
        {"$83", 131},          {"$ff", 255},               {"+131", 131},                    {"  131", 131},
        {"000131", 131},       {"0", 0},                   {"-0", 0},                        {"-$83", -131},
        {"$80000000", -2147483647 - 1},
        // Blanks and leading zeros count for nothing, however many there are.
        {std::string(300, ' ') + "131", 131}, {std::string(300, '0') + "131", 131}, {"$" + std::string(300, '0') + "83", 131},
        {std::string(255, ' ') + "0x" + std::string(255, '0') + "83", 131}, {"-" + std::string(300, '0'), 0},
    };
    for (const auto& c : accepted)
        EXPECT_EQ(ConvertReleaseLevel(c.Line), c.Value) << c.Line.substr(0, 40);
}

TEST(ReleaseLevelConversion, RefusesEverythingElseNamingTheLine)
{
    const char* refused[] = {"2147483648", "-2147483649", "$100000000", "131 ", "", "   ", "+", "-",
                             "$", "0x", "x", "\xC4\xB1", "\xEF\xBC\x91\xEF\xBC\x93", "13a", "1 31", "\t131",
                             "- 131", "++131", "$-83", "0x-1", "$G", "99999999999999999999", "00x83", "0x0x83"};
    for (const char* line : refused) {
        try {
            ConvertReleaseLevel(line);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), L"''" + Widened(line) + L"'' is not a valid integer value");
        }
    }
}

TEST(ReleaseLevelConversion, QuotesAnOverLongLineByItsBeginningVisiblyCut)
{
    const std::wstring cutQuote = L"''" + std::wstring(64, L'7') + L"...'' is not a valid integer value";
    for (const std::string& line : {std::string(257, '7'), std::string(1 << 20, '7'), std::string(256, '7') + " "}) {
        try {
            ConvertReleaseLevel(line);
            ADD_FAILURE() << "accepted a line of " << line.size();
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), cutQuote);
        }
    }
    const std::string longest = std::string(253, ' ') + "13a";
    try {
        ConvertReleaseLevel(longest);  // a line of normal length is quoted whole
        ADD_FAILURE();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"''" + Widened(longest) + L"'' is not a valid integer value");
    }
}

TEST(ReleaseLevelConversion, ReadsNoFurtherThanTheNumberAndItsMessageNeed)
{
    ReleaseLevelReader reader;
    std::size_t taken = 0;
    const std::string garbage(1 << 20, 'z');
    while (taken < garbage.size() && reader.Take(garbage[taken]))
        ++taken;
    EXPECT_LE(taken, 257u);
    ReleaseLevelReader blanks;
    for (int i = 0; i < 100000; ++i)
        ASSERT_TRUE(blanks.Take(' '));  // blanks before the number are read on, however many
}
