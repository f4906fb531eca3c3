#include "files/LineReader.h"

#include <algorithm>
#include <cstring>

namespace {
const char EndOfText = '\x1A';
}

LineReader::LineReader(ByteSource& source, std::size_t bufferSize)
    : FSource(source), FBuffer(std::max<std::size_t>(bufferSize, 1))
{
}

bool LineReader::BytesAvailable()
{
    if (FPos < FEnd)
        return true;
    if (FSourceDone)
        return false;
    FPos = 0;
    FEnd = FSource.Read(FBuffer.data(), FBuffer.size());
    if (FEnd == 0)
        FSourceDone = true;
    return FEnd > 0;
}

bool LineReader::AtEnd()
{
    return !BytesAvailable() || FBuffer[FPos] == EndOfText;
}

void LineReader::ReadLine(std::string& line)
{
    line.clear();
    while (BytesAvailable()) {
        const char* begin = FBuffer.data() + FPos;
        const char* end = FBuffer.data() + FEnd;
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != EndOfText)
            ++stop;
        for (const char* run = begin; run != stop;) {
            const char* cr = static_cast<const char*>(std::memchr(run, '\r', static_cast<std::size_t>(stop - run)));
            const char* runEnd = cr ? cr : stop;
            line.append(run, runEnd);
            run = cr ? cr + 1 : stop;
        }
        FPos += static_cast<std::size_t>(stop - begin);
        if (stop == end)
            continue;
        if (*stop == '\n')
            ++FPos;
        return;  // at LF, or left in front of Ctrl-Z so that AtEnd reports it
    }
}
