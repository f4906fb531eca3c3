#include "validation/SupportRule.h"

#include "text/SharedStrings.h"

bool Is64BitFromProbe(bool entryFound, unsigned directoryLength, unsigned long lastError)
{
    if (!entryFound)
        return false;
    if (directoryLength != 0)
        return true;
    return lastError != CallNotImplemented;
}

PlatformClass ClassifyPlatform(unsigned long platformId, bool is64Bit)
{
    switch (platformId) {
    case PlatformWindows9x: return PlatformClass::pcWindows9x;
    case PlatformWindowsNT: return is64Bit ? PlatformClass::pcWindowsNT64 : PlatformClass::pcWindowsNT32;
    default: return PlatformClass::pcOther;
    }
}

bool IsSupportedRelease(PlatformClass platform, std::int32_t major, std::int32_t minor)
{
    if (platform != PlatformClass::pcWindowsNT32 && platform != PlatformClass::pcWindowsNT64)
        return false;
    return (major == 5 && minor >= 0 && minor <= 2) || (major == 6 && minor >= 0 && minor <= 3);
}

bool IsSupportedRelease(const OSVersionFacts& facts)
{
    return IsSupportedRelease(facts.Platform, facts.Major, facts.Minor);
}

std::wstring UnsupportedSystemMessage()
{
    std::wstring message =
        L"Unsupported operating system detected.  Tessaline is intended to be used with these operating systems:";
    for (const wchar_t* release : {L"Windows 2000", L"Windows XP", L"Windows Server 2003", L"Windows Vista",
                                   L"Windows Server 2008", L"Windows 7", L"Windows Server 2012", L"Windows 8",
                                   L"Windows 8.1"})
        message += LineBreak + L"      " + release;
    message += ParagraphBreak;
    message += L"Contact Morvath Industries if you need to run the system on a different platform.";
    return message;
}
