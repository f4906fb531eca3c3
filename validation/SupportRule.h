#pragma once
// Which Windows releases the program runs on, decided over the facts the system reported. No
// Windows API here, so the rule is tested natively over a table of releases.
#include <cstdint>
#include <string>

enum class PlatformClass : std::uint8_t { pcWindows9x, pcWindowsNT32, pcWindowsNT64, pcOther };

constexpr unsigned long PlatformWindows9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr unsigned long PlatformWindowsNT = 2;  // VER_PLATFORM_WIN32_NT
constexpr unsigned long CallNotImplemented = 120;  // ERROR_CALL_NOT_IMPLEMENTED

// The 64-bit probe's verdict: no entry, or a call that fails as not implemented, is a 32-bit
// system; a call that answers, or fails for another reason, a 64-bit one.
bool Is64BitFromProbe(bool entryFound, unsigned directoryLength, unsigned long lastError);
PlatformClass ClassifyPlatform(unsigned long platformId, bool is64Bit);
// What the system reports about itself, as the support rule reads it.
struct OSVersionFacts {
    PlatformClass Platform = PlatformClass::pcOther;
    std::int32_t Major = 0;
    std::int32_t Minor = 0;
};

// NT-family releases 5.0 to 6.3; later releases report 6.2 to a program that lists no systems.
bool IsSupportedRelease(PlatformClass platform, std::int32_t major, std::int32_t minor);
bool IsSupportedRelease(const OSVersionFacts& facts);
std::wstring UnsupportedSystemMessage();
