#pragma once
// Splits a byte stream into text-file lines: a line ends at LF (CR LF included), every CR is dropped
// from the line, and a Ctrl-Z byte (0x1A) ends the text. Lines have no length limit.
#include <cstddef>
#include <string>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to Capacity bytes; 0 means the end of the data. Failures raise.
    virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
};

class LineReader {
public:
    explicit LineReader(ByteSource& source, std::size_t bufferSize = 64 * 1024);
    // True when no bytes remain or the next byte is Ctrl-Z.
    bool AtEnd();
    void ReadLine(std::string& line);
    // Reads no more than Limit bytes of the line; a longer line is left part-read. True when the
    // whole line was read.
    bool ReadLineStart(std::string& line, std::size_t limit);

private:
    bool BytesAvailable();

    ByteSource& FSource;
    std::vector<char> FBuffer;
    std::size_t FPos = 0;
    std::size_t FEnd = 0;
    bool FSourceDone = false;
};
