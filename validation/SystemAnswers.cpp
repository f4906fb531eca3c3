#include "validation/SystemQueries.h"

bool SystemOSVersion(OSVERSIONINFOW& info)
{
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    return GetVersionExW(&info) != FALSE;  // the very call whose answer the support rule is about
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

std::wstring SystemCurrentDirectory()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    folder.resize(size ? GetCurrentDirectoryW(size, &folder[0]) : 0);
    return folder;
}
