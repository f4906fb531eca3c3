// The list file's bytes as the window's entries and back, in each encoding a list may come in:
// ANSI, and UTF-8 and UTF-16 with the byte-order marks Notepad writes.
#include "app/ListEditor.h"
#include "tests/common/EntryLists.h"
#include "tests/common/Latin1.h"

#include <gtest/gtest.h>

namespace {

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const std::string Utf8Mark = "\xEF\xBB\xBF";

// Text of these code points, a surrogate standing for itself, in whatever width wchar_t has.
std::wstring Points(std::initializer_list<char32_t> points)
{
    std::wstring text;
    for (char32_t point : points) {
        if (sizeof(wchar_t) == 2 && point > 0xFFFF) {
            text += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(point);
        }
    }
    return text;
}

struct EncodingRow {
    const char* Name;
    std::string File;
    ListEncoding Encoding;
    std::vector<std::wstring> Texts;
    std::size_t HiddenLine;  // the first line the window cannot show as it stands; 0: none
    std::string Saved;       // what a save writes back, where not the file's own bytes
};

const EncodingRow EncodingRows[] = {
    {"ANSI", "10.0.0.1\r\nZ\xFCrich\r\n", ListEncoding::Ansi, {L"10.0.0.1", L"Z\u00FCrich"}, 0, ""},
    {"UTF-8 with its mark", Utf8Mark + "10.0.0.1\r\nZ\xC3\xBCrich\r\n", ListEncoding::Utf8, {L"10.0.0.1", L"Z\u00FCrich"}, 0, ""},
    {"UTF-8 with its mark and bytes that are no UTF-8", Utf8Mark + "10.0.0.1\r\nZ\xFCrich\r\n", ListEncoding::Utf8,
     {L"10.0.0.1", L"Z\uFFFDrich"}, 2, ""},
    {"UTF-16 LE with its mark", Utf16(u"10.0.0.1\r\nZ\u00FCrich\r\n", false), ListEncoding::Utf16LE,
     {L"10.0.0.1", L"Z\u00FCrich"}, 0, ""},
    {"UTF-16 BE with its mark", Utf16(u"10.0.0.1\r\n\u6771\u4EAC\r\n", true), ListEncoding::Utf16BE,
     {L"10.0.0.1", L"\u6771\u4EAC"}, 0, ""},
    {"UTF-16 LE cut in the middle of a unit", Utf16(u"10.0.0.1\r\n", false) + "A", ListEncoding::Utf16LE, {L"10.0.0.1"}, 0, ""},
    {"UTF-16 LE with a character past U+FFFF and a lone surrogate, no last line end",
     Utf16(u"10.0.0.1\r\n\U0001F600 \xD800!", false), ListEncoding::Utf16LE, {L"10.0.0.1", Points({0x1F600, ' ', 0xD800, '!'})}, 0, Utf16(u"10.0.0.1\r\n\U0001F600 \xD800!\r\n", false)},
};

}  // namespace

TEST(ListFileText, EachEncodingIsReadAsTheTextItHoldsAndWrittenBackByteForByte)
{
    for (const EncodingRow& row : EncodingRows) {
        const std::optional<ListFile> list = ParseListFile({true, row.File}, Latin1);
        ASSERT_TRUE(list) << row.Name;
        EXPECT_EQ(list->Frame.Encoding, row.Encoding) << row.Name;
        EXPECT_EQ(Texts(list->Lines), row.Texts) << row.Name;
        EXPECT_EQ(list->Hidden.NulLine, 0u) << row.Name;
        EXPECT_EQ(list->Hidden.CodePageLine, row.HiddenLine) << row.Name;
        EXPECT_EQ(ListFileBytes(list->Lines, list->Frame, Latin1), row.Saved.empty() ? row.File : row.Saved) << row.Name;
    }
}

TEST(ListFileText, WritesEachEntryWithCrLfAndPutsTheTailBack)
{
    EXPECT_EQ(ListFileBytes(Listed({L"9.1.1.1", L"10.0.0.2"}), {}, Latin1), "9.1.1.1\r\n10.0.0.2\r\n");
    EXPECT_EQ(ListFileBytes({}, {}, Latin1), "");
    EXPECT_EQ(ListFileBytes(Listed({L"", L"a"}), {ListEncoding::Ansi, "\x1Atail", ""}, Latin1), "\r\na\r\n\x1Atail");
    EXPECT_EQ(ListFileBytes({{L"?", "\x81\xFF"}}, {}, Latin1), "\x81\xFF\r\n");  // bytes kept as the file had them
    const std::optional<ListFile> list = ParseListFile({true, "a\r\nb\r\n\x1Arest"}, Latin1);
    EXPECT_EQ(ListFileBytes(list->Lines, list->Frame, Latin1), "a\r\nb\r\n\x1Arest");  // CR LF lines come back byte for byte
}

TEST(ListFileText, AnAddressBehindAMarkIsTheAddressAndANewOneIsWrittenInTheFilesEncoding)
{
    const struct {
        std::string Read, Saved;
    } files[] = {
        {Utf8Mark + "10.0.0.1\r\n", Utf8Mark + "10.0.0.1\r\n10.0.0.2\r\n"},
        {Utf16(u"10.0.0.1\r\n", false), Utf16(u"10.0.0.1\r\n10.0.0.2\r\n", false)},
        {Utf16(u"10.0.0.1", true), Utf16(u"10.0.0.1\r\n10.0.0.2\r\n", true)},
    };
    for (const auto& file : files) {
        ListEditor editor([](std::wstring_view a, std::wstring_view b) { return a == b; });
        editor.Load(*ParseListFile({true, file.Read}, Latin1));
        EXPECT_EQ(editor.Add({10, 0, 0, 1}), AddResult::AlreadyListed) << testing::PrintToString(file.Read);
        EXPECT_EQ(editor.Add({10, 0, 0, 2}), AddResult::Added);
        EXPECT_EQ(ListFileBytes(editor.Items(), editor.Frame(), Latin1), file.Saved) << testing::PrintToString(file.Read);
    }
}

TEST(ListFileText, UTF16WithoutAMarkIsNotGuessedAtAndNoMessagePromisesToKeepIt)
{
    const std::string file("1\0.\0" "1\0\r\0\n\0", 10);
    const std::optional<ListFile> list = ParseListFile({true, file}, Latin1);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Frame.Encoding, ListEncoding::Ansi);
    EXPECT_EQ(list->Hidden.NulLine, 1u);
    EXPECT_FALSE(list->Hidden.SavedAsItIs);
    EXPECT_EQ(HiddenTextMessage(L"D:\\KWO\\IPList.Txt", list->Hidden).find(L"keeps all of this"), std::wstring::npos);
    const std::optional<ListFile> ansi = ParseListFile({true, std::string("a\0b\r\n", 5)}, Latin1);
    EXPECT_TRUE(ansi->Hidden.SavedAsItIs);  // a NUL inside a line of CR LF lines: kept, and said so
}
