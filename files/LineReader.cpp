#include "files/LineReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

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
    ReadLineStart(line, std::numeric_limits<std::size_t>::max());
}

bool LineReader::ReadLineStart(std::string& line, std::size_t limit)
{
    line.clear();
    while (BytesAvailable()) {
        const char* begin = FBuffer.data() + FPos;
        const char* end = FBuffer.data() + FEnd;
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != EndOfText)
            ++stop;
        const char* run = begin;
        while (run != stop && line.size() < limit) {
            const char* cr = static_cast<const char*>(std::memchr(run, '\r', static_cast<std::size_t>(stop - run)));
            const char* runEnd = cr ? cr : stop;
            const std::size_t take = std::min(static_cast<std::size_t>(runEnd - run), limit - line.size());
            line.append(run, take);
            run += take;
            if (run == cr)
                ++run;  // a CR is dropped from the line
        }
        FPos += static_cast<std::size_t>(run - begin);
        if (run != stop)
            return false;  // the limit was reached inside the line
        if (stop == end)
            continue;
        if (*stop == '\n')
            ++FPos;
        return true;  // at LF, or left in front of Ctrl-Z so that AtEnd reports it
    }
    return true;
}
