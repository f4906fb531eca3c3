#include "validation/OperatingSystem.h"

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

// kernel32 loaded without letting a missing file raise a system box, and released after the probe.
class QuietlyLoadedLibrary {
public:
    explicit QuietlyLoadedLibrary(const wchar_t* name)
    {
        const UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        FModule = LoadLibraryW(name);
        SetErrorMode(previousMode);
    }
    QuietlyLoadedLibrary(const QuietlyLoadedLibrary&) = delete;
    QuietlyLoadedLibrary& operator=(const QuietlyLoadedLibrary&) = delete;
    ~QuietlyLoadedLibrary() { if (FModule) FreeLibrary(FModule); }
    FARPROC Entry(const char* name) const { return FModule ? GetProcAddress(FModule, name) : nullptr; }

private:
    HMODULE FModule = nullptr;
};

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
    const QuietlyLoadedLibrary kernel(L"kernel32.dll");
    return Is64BitWindowsUsing(
        reinterpret_cast<Wow64DirectoryEntry>(reinterpret_cast<void*>(kernel.Entry("GetSystemWow64DirectoryA"))));
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
