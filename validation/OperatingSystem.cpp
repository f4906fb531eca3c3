#include "validation/OperatingSystem.h"

#include "owners/Owners.h"
#include "validation/SystemQueries.h"

namespace {

const DWORD VersionRecordSize = 276;  // sizeof(OSVERSIONINFOW)
const UINT Wow64DirectoryBufferSize = 144;

OSVERSIONINFOW EmptyVersionRecord()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = VersionRecordSize;
    return info;
}

}  // namespace

static_assert(sizeof(OSVERSIONINFOW) == 276, "the version record the system expects");

bool Is64BitWindowsUsing(Wow64DirectoryEntry entry)
{
    if (!entry)
        return Is64BitFromProbe(false, 0, 0);
    char directory[Wow64DirectoryBufferSize];
    const UINT length = entry(directory, Wow64DirectoryBufferSize);
    return Is64BitFromProbe(true, length, length ? 0 : GetLastError());
}

bool Is64BitWindows()
{
    LibraryOwner kernel;
    {
        // Without a system box, should the file be missing; released after the probe.
        const ErrorModeOwner restore(SetErrorMode(SEM_NOOPENFILEERRORBOX));
        kernel.Reset(LoadLibraryW(L"kernel32.dll"));
    }
    const FARPROC entry = kernel.Valid() ? GetProcAddress(kernel, "GetSystemWow64DirectoryA") : nullptr;
    return Is64BitWindowsUsing(reinterpret_cast<Wow64DirectoryEntry>(reinterpret_cast<void*>(entry)));
}

OSVersionFacts ReadOSVersionFacts()
{
    OSVERSIONINFOW info = EmptyVersionRecord();
    QueryOSVersion(info);
    const bool is64Bit = info.dwPlatformId == PlatformWindowsNT && Is64BitWindows();
    return OSVersionFacts{ClassifyPlatform(info.dwPlatformId, is64Bit), static_cast<std::int32_t>(info.dwMajorVersion),
                          static_cast<std::int32_t>(info.dwMinorVersion)};
}

bool IsWindowsNT()
{
    OSVERSIONINFOW info = EmptyVersionRecord();
    QueryOSVersion(info);
    return info.dwPlatformId == PlatformWindowsNT;
}
