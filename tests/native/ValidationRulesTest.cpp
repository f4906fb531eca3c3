// The rules of the installation checks that need no system: the supported releases, the 64-bit
// probe's verdict, the release level's conversion, and the unsupported-system message.
#include "errors/Exception.h"
#include "validation/ReleaseLevelText.h"
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

TEST(ReleaseLevelConversion, AcceptsTheWholeNumbersOfTheFirstLine)
{
    const struct {
        const wchar_t* Line;
        std::int32_t Value;
    } accepted[] = {
        {L"131", 131},          {L"2147483647", 2147483647}, {L"-2147483648", -2147483647 - 1}, {L"$FFFFFFFF", -1},
        {L"0x83", 131},         {L"0X83", 131},              {L"x83", 131},                     {L"X83", 131},
        {L"$83", 131},          {L"$ff", 255},               {L"+131", 131},                    {L"  131", 131},
        {L"000131", 131},       {L"0", 0},                   {L"-0", 0},                        {L"-$83", -131},
        {L"$80000000", -2147483647 - 1},
    };
    for (const auto& c : accepted)
        EXPECT_EQ(ConvertReleaseLevel(c.Line), c.Value) << c.Line;
}

TEST(ReleaseLevelConversion, RefusesEverythingElseNamingTheLine)
{
    const wchar_t* refused[] = {L"2147483648", L"-2147483649", L"$100000000", L"131 ", L"", L"   ", L"+", L"-",
                                L"$", L"0x", L"x", L"\x131", L"\uFF11\uFF13\uFF11", L"13a", L"1 31", L"\t131",
                                L"- 131", L"++131", L"$-83", L"0x-1", L"$G", L"99999999999999999999"};
    for (const wchar_t* line : refused) {
        try {
            ConvertReleaseLevel(line);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), L"''" + std::wstring(line) + L"'' is not a valid integer value");
        }
    }
}

TEST(ReleaseLevelConversion, QuotesAnOverLongLineByItsBeginningVisiblyCut)
{
    const std::wstring cutQuote = L"''" + std::wstring(64, L'7') + L"...'' is not a valid integer value";
    for (const std::wstring& line : {std::wstring(257, L'7'), std::wstring(1 << 20, L'7')}) {
        try {
            ConvertReleaseLevel(line);
            ADD_FAILURE() << "accepted a line of " << line.size();
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), cutQuote);
        }
    }
    try {
        ConvertReleaseLevel(L"131", false);  // only the beginning of a longer line was read
        ADD_FAILURE();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"''131...'' is not a valid integer value");
    }
    const std::wstring longest = std::wstring(253, L' ') + L"131";
    EXPECT_EQ(ConvertReleaseLevel(longest), 131);  // a line of normal length stays as it was
}
