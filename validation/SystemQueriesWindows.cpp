#include "validation/SystemQueries.h"

bool QueryOSVersion(OSVERSIONINFOW& info)
{
    return SystemOSVersion(info);
}

std::wstring QueryCurrentDirectory()
{
    return SystemCurrentDirectory();
}
