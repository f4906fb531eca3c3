// The address list file's bytes: how its lines are told apart, what it keeps after a Ctrl-Z, how
// much of a file is read, and which names are the program's own scratch files.
#include "files/ListText.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    const char* Name;
    std::string Bytes;
    Lines Expected;
    std::string Tail;
    std::size_t TailLine;
};

const SplitCase SplitCases[] = {
    {"lines ending in CR LF", "10.0.0.2\r\n\r\n  10.0.0.1\r\n", {"10.0.0.2", "", "  10.0.0.1"}, "", 0},
    {"lines ending in LF", "a\nb\n", {"a", "b"}, "", 0},
    {"lines ending in a CR alone", "a\rb\rc", {"a", "b", "c"}, "", 0},
    {"line ends of every kind", "a\r\nb\nc\rd", {"a", "b", "c", "d"}, "", 0},
    {"a CR before CR LF ends a line of its own", "a\r\r\nb", {"a", "", "b"}, "", 0},
    {"the last line without a line end", "a\r\nb", {"a", "b"}, "", 0},
    {"an empty line at the end", "a\r\n\r\n", {"a", ""}, "", 0},
    {"nothing", "", {}, "", 0},
    {"a Ctrl-Z ends the text, and what follows is kept", "a\r\nb\x1A" "c\r\nd\r\n", {"a", "b"}, "\x1A" "c\r\nd\r\n", 2},
    {"a Ctrl-Z at the very end", "a\r\n\x1A", {"a"}, "\x1A", 2},
    {"NULs and other bytes stay in their lines", std::string("a\0b\r\n\xFF\r\n", 7), {std::string("a\0b", 3), "\xFF"}, "", 0},
};

}  // namespace

TEST(ListText, SplitsLinesAtEveryLineEndAndKeepsWhatFollowsACtrlZ)
{
    for (const SplitCase& c : SplitCases) {
        const ListText text = SplitListText(c.Bytes);
        EXPECT_EQ(std::vector<std::string>(text.Lines.begin(), text.Lines.end()), c.Expected) << c.Name;
        EXPECT_EQ(text.Tail, c.Tail) << c.Name;
        EXPECT_EQ(text.TailLine, c.TailLine) << c.Name;
        EXPECT_FALSE(text.TooLong) << c.Name;
    }
}

TEST(ListText, AFilePastTheLimitsIsNoList)
{
    EXPECT_FALSE(SplitListText(std::string(MaxListBytes, 'x')).TooLong);
    EXPECT_TRUE(SplitListText(std::string(MaxListBytes + 1, 'x')).TooLong);
    std::string lines;
    for (std::size_t i = 0; i < MaxListLines; ++i)
        lines += "\n";
    EXPECT_EQ(SplitListText(lines).Lines.size(), MaxListLines);
    const ListText tooMany = SplitListText(lines + "x");
    EXPECT_TRUE(tooMany.TooLong);
    EXPECT_TRUE(tooMany.Lines.empty());
    EXPECT_EQ(TooLargeMessage(L"D:\\KWO\\IPList.Txt"),
              L"The following file is too large to be a server address list:\r\nD:\\KWO\\IPList.Txt\r\n\r\nIt holds more "
              L"than 4 MB or more than 200000 lines, the most this program reads.  It was not changed, and the list "
              L"cannot be saved until the file is smaller.");
}

TEST(ListText, TellsWhichLinesTheWindowShowsOtherwise)
{
    EXPECT_FALSE(TailHidesText("\x1A"));
    EXPECT_FALSE(TailHidesText("\x1A\r\n\x1A"));
    EXPECT_TRUE(TailHidesText("\x1A" "10.0.0.9\r\n"));
    HiddenText hidden;
    EXPECT_FALSE(hidden.Any());
    hidden.EndOfTextLine = 3;
    hidden.CodePageLine = 2;
    EXPECT_EQ(HiddenTextMessage(L"D:\\KWO\\IPList.Txt", hidden),
              L"The following file holds text that this window cannot show as it stands:\r\nD:\\KWO\\IPList.Txt\r\n"
              L"     Line 3: a Ctrl-Z character ends the text there, and what follows it is not shown.\r\n"
              L"     Line 2: bytes that are no text in this system's code page; the list shows them as best it can.\r\n\r\n"
              L"Saving the list keeps all of this as it is in the file.");
}

TEST(ListText, KnowsItsOwnScratchFilesByName)
{
    for (const wchar_t* ours : {L"IPList.Txt.95743.Tmp", L"IPList.Txt.120000-2.Tmp", L"iplist.txt.1.tmp", L"IP0A1B2C.Tmp",
                                L"ipffffff.TMP"})
        EXPECT_TRUE(IsListScratchName(ours)) << ours;
    for (const wchar_t* others : {L"IPList.Txt", L"IPList.Txt..Tmp", L"IPList.Txt.12a.Tmp", L"IPList.Txt.12-.Tmp",
                                  L"IPList.Txt.12.Bak", L"IP0A1B2.Tmp", L"IP0A1B2CD.Tmp", L"IPZZZZZZ.Tmp", L"~DF1234.Tmp",
                                  L"95743.Tmp", L"XP0A1B2C.Tmp"})
        EXPECT_FALSE(IsListScratchName(others)) << others;
}

TEST(ListText, RemovesOnlyItsOwnScratchFilesAnHourOrMoreOlderThanTheFileSystemsNow)
{
    const std::uint64_t minute = 60ull * 10000000, now = 1000000 * minute;
    const struct {
        const wchar_t* Name;
        std::uint64_t Written;
        bool LeftBehind;
    } files[] = {
        {L"IPList.Txt.95743.Tmp", now + 2 * minute, false},  // a workstation whose clock runs ahead
        {L"IPList.Txt.95743.Tmp", now + 10000 * minute, false},
        {L"IPList.Txt.95743.Tmp", now, false},  // just written
        {L"IPList.Txt.95743.Tmp", now - 59 * minute, false},
        {L"IPList.Txt.95743.Tmp", now - 60 * minute, true},
        {L"IP0A1B2C.Tmp", now - 61 * minute, true},
        {L"Other.Tmp", now - 61 * minute, false},  // a name the program does not make
        {L"IPList.Txt.Tmp", now - 6100 * minute, false},
    };
    for (const auto& file : files)
        EXPECT_EQ(IsLeftBehindScratchFile(file.Name, file.Written, now), file.LeftBehind)
            << file.Name << " written " << static_cast<long long>((file.Written - now) / minute) << " min from now";
}
