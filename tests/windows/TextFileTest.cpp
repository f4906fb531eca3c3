// The text file as the address list and the release-level file use it, on real files.
#include "errors/Exception.h"
#include "files/TextFile.h"
#include "tests/windows/TestSupport.h"

namespace {

std::string ReadWhole(const std::wstring& path, std::size_t limit)
{
    TextFile file;
    file.Bind(path);
    file.Reset();
    std::string bytes = file.ReadAll(limit);
    file.Close();
    return bytes;
}

}  // namespace

TEST(TextFile, BindsPathsUpTo259CharactersAndLongerOnlyInTheExtendedForm)
{
    TextFile file;
    EXPECT_NO_THROW(file.Bind(L"C:\\" + std::wstring(256, L'a')));
    try {
        file.Bind(L"C:\\" + std::wstring(257, L'a'));
        FAIL() << "a 260-character path was bound";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILENAME_EXCED_RANGE));
    }
    EXPECT_NO_THROW(file.Bind(L"\\\\?\\C:\\" + std::wstring(300, L'a')));
}

TEST(TextFile, ReadsTheWholeFileOrOneByteMoreThanTheLimit)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"bytes.txt";
    const std::string large(200000, 'x');
    struct Case {
        std::string Bytes;
        std::size_t Limit;
        std::size_t Read;
    } cases[] = {
        {"", 10, 0}, {std::string("a\r\nb\x1A\0c", 7), 10, 7}, {large, large.size(), large.size()}, {large, large.size() - 1, large.size()},
        {large, 70000, 70001},
    };
    for (const Case& c : cases) {
        WriteBytes(path, c.Bytes);
        EXPECT_EQ(ReadWhole(path, c.Limit), c.Bytes.substr(0, c.Read)) << c.Bytes.size() << " bytes, limit " << c.Limit;
    }
}

TEST(TextFile, WritesTheBytesItIsGivenToAFileItCreatesNew)
{
    ScratchFolder folder;
    const std::wstring path = folder / L"out.txt";
    TextFile file;
    file.Bind(path);
    file.CreateNew();
    file.Write(std::string("9.1.1.1\r\n\0\xFF\r\n", 13));
    file.Commit();
    file.Close();
    EXPECT_EQ(ReadBytes(path), std::string("9.1.1.1\r\n\0\xFF\r\n", 13));
    try {
        file.CreateNew();
        FAIL() << "an existing file was created again";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_FILE_EXISTS));
    }
    EXPECT_EQ(ReadBytes(path), std::string("9.1.1.1\r\n\0\xFF\r\n", 13));
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
