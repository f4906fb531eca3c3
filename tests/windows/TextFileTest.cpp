// The text file as the address list and the release-level file use it, on real files.
#include "errors/Exception.h"
#include "files/TextFile.h"
#include "tests/windows/TestSupport.h"

#include <vector>

namespace {

std::vector<std::wstring> ReadAll(const std::wstring& path)
{
    TextFile file;
    file.Bind(path);
    file.Reset();
    std::vector<std::wstring> lines;
    while (!file.Eof())
        lines.push_back(file.ReadLine());
    file.Close();
    return lines;
}

using Lines = std::vector<std::wstring>;

}  // namespace

TEST(TextFile, BindsPathsUpTo259CharactersAndRefusesLongerOnes)
{
    TextFile file;
    EXPECT_NO_THROW(file.Bind(L"C:\\" + std::wstring(256, L'a')));
    try {
        file.Bind(L"C:\\" + std::wstring(257, L'a'));
        FAIL() << "a 260-character path was bound";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILENAME_EXCED_RANGE));
    }
}

TEST(TextFile, ReadsEveryKindOfLineEnd)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"lines.txt";
    struct Case {
        const char* Bytes;
        Lines Expected;
    } cases[] = {
        {"a\r\nb\r\n", {L"a", L"b"}},
        {"a\nb\n", {L"a", L"b"}},
        {"a\r\nb", {L"a", L"b"}},
        {"a\rb\r\nc", {L"ab", L"c"}},
        {"a\r\n\r\n", {L"a", L""}},
        {"a\r\nb\x1A" "c\r\nd\r\n", {L"a", L"b"}},
        {"\x1A" "abc", {}},
        {"", {}},
        {"\r\n", {L""}},
    };
    for (const Case& c : cases) {
        WriteBytes(path, c.Bytes);
        EXPECT_EQ(ReadAll(path), c.Expected) << "bytes: " << c.Bytes;
    }
}

TEST(TextFile, ReadsALineOfAMegabyteWhole)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"long.txt";
    WriteBytes(path, std::string(1 << 20, 'x') + "\r\nend\r\n");
    const Lines lines = ReadAll(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 1u << 20);
    EXPECT_EQ(lines[1], L"end");
}

TEST(TextFile, WritesAnsiLinesEndingInCrLf)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"out.txt";
    TextFile file;
    file.Bind(path);
    file.CreateNew();
    file.WriteLine(L"9.1.1.1");
    file.WriteLine(L"");
    file.WriteLine(L"caf\u00e9 \u4e2d");  // a character the code page cannot hold becomes its default character
    file.Close();
    EXPECT_EQ(ReadBytes(path), "9.1.1.1\r\n\r\ncaf\xe9 ?\r\n");
}

TEST(TextFile, KeepsWrittenTextBufferedUntilClose)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"buffered.txt";
    TextFile file;
    file.Bind(path);
    file.CreateNew();
    file.WriteLine(L"short");
    EXPECT_EQ(ReadBytes(path), "");
    file.Close();
    EXPECT_EQ(ReadBytes(path), "short\r\n");
}

TEST(TextFile, SharesAnOpenFileWithReadersOnly)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"shared.txt";
    WriteBytes(path, "x\r\n");
    TextFile file;
    file.Bind(path);
    file.Reset();
    HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    file.Close();
}

TEST(TextFile, FailuresRaiseInOutErrorsWithTheSystemCode)
{
    ScratchFolder folder;
    TextFile file;
    file.Bind(folder / L"missing.txt");
    try {
        file.Reset();
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
        EXPECT_FALSE(error.Message().empty());
    }
    EXPECT_THROW(file.Close(), EInOutError);  // never opened
    file.Bind(folder / L"once.txt");
    file.CreateNew();
    file.Close();
    EXPECT_THROW(file.Close(), EInOutError);  // closing a closed file
}

// Run under each kind of code page by the build's test list: UTF-8 (65001, as Windows 10 and 11
// can set it for the whole system), double-byte (932) and single-byte (1252). A UTF-8 code page
// takes three bytes for each of these characters, more than any other code page takes.
TEST(TextFileCodePage, LongLinesOfTheCodePagesOwnCharactersAreWrittenAndReadBackWhole)
{
    const std::wstring text = L"10.0.0.1 " + std::wstring(100, L'\u4E2D');
    std::string expected = "10.0.0.1 ";
    std::wstring readBack = text;
    switch (GetACP()) {
    case 65001:
        for (int i = 0; i < 100; ++i)
            expected += "\xE4\xB8\xAD";
        break;
    case 932:
        for (int i = 0; i < 100; ++i)
            expected += "\x92\x86";
        break;
    case 1252:
        expected += std::string(100, '?');  // the code page's default character
        readBack = L"10.0.0.1 " + std::wstring(100, L'?');
        break;
    default:
        GTEST_SKIP() << "no expectation for code page " << GetACP();
    }
    ScratchFolder folder;
    const std::wstring path = folder / L"wide.txt";
    TextFile file;
    file.Bind(path);
    file.CreateNew();
    file.WriteLine(text);
    file.Close();
    EXPECT_EQ(ReadBytes(path), expected + "\r\n");
    EXPECT_EQ(ReadAll(path), Lines{readBack});
}
