#include "errors/Exception.h"

#include <windows.h>

namespace {

using StackCapture = USHORT(WINAPI*)(ULONG, ULONG, PVOID*, PULONG);

// Looked up rather than imported: the oldest supported systems export it from ntdll only.
StackCapture FindCapture()
{
    for (const wchar_t* module : {L"kernel32.dll", L"ntdll.dll"})
        if (HMODULE handle = GetModuleHandleW(module))
            if (FARPROC entry = GetProcAddress(handle, "RtlCaptureStackBackTrace"))
                return reinterpret_cast<StackCapture>(reinterpret_cast<void*>(entry));
    return nullptr;
}

}  // namespace

std::uintptr_t CaptureRaiseAddress(int framesAboveCaller)
{
    static const StackCapture capture = FindCapture();
    void* frame = nullptr;
    // Frame 0 is our caller; skip past it and the frames it asks us to.
    if (!capture || capture(static_cast<ULONG>(framesAboveCaller + 1), 1, &frame, nullptr) != 1)
        return 0;
    return reinterpret_cast<std::uintptr_t>(frame);
}
