#include "errors/Exception.h"

#include <execinfo.h>

std::uintptr_t CaptureRaiseAddress(int framesAboveCaller)
{
    void* frames[16];
    const int wanted = framesAboveCaller + 2;  // this function and its caller come first
    if (wanted > 16 || backtrace(frames, wanted) < wanted)
        return 0;
    return reinterpret_cast<std::uintptr_t>(frames[wanted - 1]);
}
