#include "files/Exception.h"

#include <windows.h>

std::uintptr_t CaptureRaiseAddress(int framesAboveCaller)
{
    void* frame = nullptr;
    // Frame 0 is our caller; skip past it and the frames it asks us to.
    if (RtlCaptureStackBackTrace(static_cast<DWORD>(framesAboveCaller + 1), 1, &frame, nullptr) != 1)
        return 0;
    return reinterpret_cast<std::uintptr_t>(frame);
}
