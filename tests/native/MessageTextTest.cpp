// Texts the program assembles: the default error report, its caption, the line breaks, the
// time-of-day digits of scratch names.
#include "files/TimeOfDayStamp.h"
#include "text/SharedStrings.h"
#include "app/ErrorReportText.h"

#include <gtest/gtest.h>

TEST(SharedStrings, LineAndParagraphBreaks)
{
    EXPECT_EQ(LineBreak, L"\r\n");
    EXPECT_EQ(ParagraphBreak, L"\r\n\r\n");
}

TEST(ErrorReportText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorReportText(L"Access is denied"), L"Access is denied.");
    EXPECT_EQ(ErrorReportText(L"address: 4096"), L"address: 4096.");
    EXPECT_EQ(ErrorReportText(L"Done."), L"Done.");
    EXPECT_EQ(ErrorReportText(L"(see above)"), L"(see above)");
    EXPECT_EQ(ErrorReportText(L"ends in blank "), L"ends in blank ");
    EXPECT_EQ(ErrorReportText(L"ends in slash/"), L"ends in slash/.");
    EXPECT_EQ(ErrorReportText(L""), L"");
}

TEST(ErrorReportText, TitleIsTheFileNameUpToItsFirstDotInLowerCaseAfterTheFirstLetter)
{
    EXPECT_EQ(TitleFromProgramFileName(L"IPList.exe"), L"Iplist");
    EXPECT_EQ(TitleFromProgramFileName(L"ipLIST.Old.EXE"), L"iplist");
    EXPECT_EQ(TitleFromProgramFileName(L"NODOT"), L"Nodot");
    EXPECT_EQ(TitleFromProgramFileName(L".hidden"), L"");
}

TEST(TimeOfDayStamp, RunsTheNumbersTogetherWithoutLeadingZeros)
{
    EXPECT_EQ(FormatTimeOfDayStamp(9, 5, 7, 483), L"95743");
    EXPECT_EQ(FormatTimeOfDayStamp(12, 0, 0, 50), L"120000");
    EXPECT_EQ(FormatTimeOfDayStamp(23, 59, 59, 999), L"23595999");
    EXPECT_EQ(FormatTimeOfDayStamp(0, 0, 0, 0), L"00000");
}
