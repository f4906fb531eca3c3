#include "validation/OperatingSystem.h"

#include "owners/Owners.h"
#include "toolkit/MessageBox.h"
#include "validation/SystemQueries.h"

#include <windows.h>

#include <algorithm>

PlatformClass OSPlatformClass = PlatformClass::pcOther;
std::int32_t OSMajorVersion = 0;
std::int32_t OSMinorVersion = 0;
std::int32_t OSBuildNumber = 0;
std::wstring OSServicePack;

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

void ReadOSVersionFacts()
{
    OSVERSIONINFOW info = EmptyVersionRecord();
    QueryOSVersion(info);
    const bool is64Bit = info.dwPlatformId == PlatformWindowsNT && Is64BitWindows();
    OSPlatformClass = ClassifyPlatform(info.dwPlatformId, is64Bit);
    OSMajorVersion = static_cast<std::int32_t>(info.dwMajorVersion);
    OSMinorVersion = static_cast<std::int32_t>(info.dwMinorVersion);
    OSBuildNumber = static_cast<std::int32_t>(info.dwBuildNumber & 0xFFFF);
    const wchar_t* servicePack = info.szCSDVersion;
    OSServicePack.assign(servicePack, std::find(servicePack, servicePack + 128, L'\0'));
}

bool OperatingSystemSupported(bool reportIfUnsupported)
{
    const bool supported = IsSupportedRelease(OSPlatformClass, OSMajorVersion, OSMinorVersion);
    if (!supported && reportIfUnsupported)
        ShowMessageBox(UnsupportedSystemMessage(), TMsgKind::Error, TMsgButtons::OK);
    return supported;
}

bool IsWindowsNT()
{
    OSVERSIONINFOW info = EmptyVersionRecord();
    QueryOSVersion(info);
    return info.dwPlatformId == PlatformWindowsNT;
}
