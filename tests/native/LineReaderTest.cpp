// Line splitting as the text file reads it, over every buffer size, so that no line end or Ctrl-Z
// falls differently on a buffer boundary.
#include "files/LineReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes, std::size_t chunk) : FBytes(std::move(bytes)), FChunk(chunk) {}
    std::size_t Read(char* buffer, std::size_t capacity) override
    {
        const std::size_t count = std::min({capacity, FChunk, FBytes.size() - FPos});
        std::memcpy(buffer, FBytes.data() + FPos, count);
        FPos += count;
        return count;
    }

private:
    std::string FBytes;
    std::size_t FChunk;
    std::size_t FPos = 0;
};

std::vector<std::string> Split(const std::string& bytes, std::size_t bufferSize, std::size_t chunk)
{
    MemorySource source(bytes, chunk);
    LineReader reader(source, bufferSize);
    std::vector<std::string> lines;
    std::string line;
    while (!reader.AtEnd()) {
        reader.ReadLine(line);
        lines.push_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(LineReader, SplitsLinesTheSameWayWhateverTheBufferSize)
{
    const struct {
        std::string Bytes;
        Lines Expected;
    } cases[] = {
        {"", {}},
        {"abc", {"abc"}},
        {"abc\r\n", {"abc"}},
        {"abc\n\ndef", {"abc", "", "def"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\rb\rc\r\n", {"abc"}},
        {"abc\r", {"abc"}},
        {"\r", {""}},
        {"ab\x1A" "cd\r\n", {"ab"}},
        {"ab\r\n\x1A", {"ab"}},
        {"\x1A", {}},
        {"a\r\x1A" "b", {"a"}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases)
        for (std::size_t buffer : {1u, 2u, 3u, 7u, 64u * 1024})
            for (std::size_t chunk : {1u, 2u, 5u, 1000u})
                EXPECT_EQ(Split(c.Bytes, buffer, chunk), c.Expected) << "buffer " << buffer << ", chunk " << chunk;
}

TEST(LineReader, LinesHaveNoLengthLimit)
{
    const std::string longLine(3 * 64 * 1024 + 17, 'x');
    const Lines lines = Split(longLine + "\r\nshort\r\n" + longLine, 64 * 1024, 64 * 1024);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], "short");
    EXPECT_EQ(lines[2], longLine);
}

TEST(LineReader, TheStartOfALineReadsNoFurtherThanAsked)
{
    for (std::size_t buffer : {1u, 3u, 64u * 1024}) {
        MemorySource source("12\r34567\r\nnext", 1000);
        LineReader reader(source, buffer);
        std::string line;
        reader.ReadLineStart(line, 4);
        EXPECT_EQ(line, "1234") << "buffer " << buffer;
        reader.ReadLineStart(line, 100);
        EXPECT_EQ(line, "567") << "buffer " << buffer;  // the rest of the line that was cut
        reader.ReadLineStart(line, 4);
        EXPECT_EQ(line, "next") << "buffer " << buffer;
        EXPECT_TRUE(reader.AtEnd());
    }
}
