// The system's answers as a test poses them, for a test-only build of the program: Wine cannot
// give a 64-bit program an old release, nor a UNC current directory. IPLIST_POSED_VERSION holds
// "major.minor.build.platform", IPLIST_POSED_CURRENT_DIRECTORY the directory. Without them the
// system answers. The shipped program never links this file.
#include "validation/SystemQueries.h"

#include <cstdio>
#include <string>

namespace {

std::wstring Posed(const wchar_t* name)
{
    wchar_t value[1024] = L"";
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

}  // namespace

bool QueryOSVersion(OSVERSIONINFOW& info)
{
    const std::wstring version = Posed(L"IPLIST_POSED_VERSION");
    unsigned major = 0, minor = 0, build = 0, platform = 0;
    if (!version.empty() && swscanf(version.c_str(), L"%u.%u.%u.%u", &major, &minor, &build, &platform) == 4) {
        info.dwMajorVersion = major;
        info.dwMinorVersion = minor;
        info.dwBuildNumber = build;
        info.dwPlatformId = platform;
        info.szCSDVersion[0] = L'\0';
        return true;
    }
    return SystemOSVersion(info);
}

std::wstring QueryCurrentDirectory()
{
    const std::wstring posed = Posed(L"IPLIST_POSED_CURRENT_DIRECTORY");
    if (!posed.empty())
        return posed;
    return SystemCurrentDirectory();
}
