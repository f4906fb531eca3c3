// Run under each kind of ANSI code page by the build's test list: UTF-8 (65001, as Windows 10 and
// 11 can set it for the whole system), double-byte (932) and single-byte (1252).
#include "app/AddressListFile.h"
#include "files/CodePage.h"
#include "tests/windows/TestSupport.h"

namespace {

struct CodePageCase {
    unsigned CodePage;
    std::string Encoded;      // 10.0.0.1 and a hundred of one CJK character, in that code page
    std::string NoText;       // bytes that are no text in it, "" where every byte is
};

const CodePageCase CodePageCases[] = {
    // UTF-8 takes three bytes for each of these characters, more than any other code page takes.
    {65001, "\xE4\xB8\xAD", "\xFF\xC3"},
    {932, "\x92\x86", "\x81"},  // a lead byte with no byte to follow it
    {1252, "?", ""},            // the code page's default character stands in for one it lacks
};

const CodePageCase* ThisCodePage()
{
    for (const CodePageCase& c : CodePageCases)
        if (c.CodePage == GetACP())
            return &c;
    return nullptr;
}

}  // namespace

TEST(CodePage, LongLinesOfTheCodePagesOwnCharactersConvertWhole)
{
    const CodePageCase* c = ThisCodePage();
    if (!c)
        GTEST_SKIP() << "no expectation for code page " << GetACP();
    const std::wstring text = L"10.0.0.1 " + std::wstring(100, L'\u4E2D');
    std::string expected = "10.0.0.1 ";
    for (int i = 0; i < 100; ++i)
        expected += c->Encoded;
    EXPECT_EQ(ToAnsi(text), expected);
    if (c->Encoded != "?") {
        EXPECT_EQ(FromAnsi(expected), text);
    }
}

TEST(CodePage, BytesThatAreNoTextAreShownAsBestTheyCanBeAndSavedBackAsTheyWere)
{
    const CodePageCase* c = ThisCodePage();
    if (!c)
        GTEST_SKIP() << "no expectation for code page " << GetACP();
    ScratchFolder folder;
    const std::string bytes = "10.0.0.1\r\n10.0.0.2 " + c->NoText + "\r\n10.0.0.3 " + c->Encoded + "\r\n";
    WriteBytes(AddressListPath(folder.Path()), bytes);
    const ListFile list = ReadAddressList(folder.Path());
    ASSERT_EQ(list.Lines.size(), 3u);
    EXPECT_EQ(list.Hidden.CodePageLine, c->NoText.empty() ? 0u : 2u);
    EXPECT_EQ(list.Lines[1].Original, c->NoText.empty() ? "" : "10.0.0.2 " + c->NoText);
    EXPECT_EQ(list.Lines[2].Original, "");
    WriteAddressList(folder.Path(), list.Lines, list.Frame, list.State);
    EXPECT_EQ(ReadBytes(AddressListPath(folder.Path())), bytes);
}
