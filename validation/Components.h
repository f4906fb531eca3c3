#pragma once
// Whether an installation folder holds the product's components at the one release level this
// program accepts. Neither operation shows anything.
#include <cstdint>
#include <string>

constexpr std::int32_t RequiredReleaseLevel = 131;
extern const wchar_t ReleaseFileName[];  // "Rev.Txt"

struct ReleaseLevel {
    std::int32_t Level = 0;
    std::wstring SecondLine;
    std::wstring ThirdLine;
};

// Folder is given without a trailing "\".
bool ComponentsPresent(const std::wstring& folder);
// From the release-level file's first three lines or, without that file, from the newest legacy
// file present; 0 and empty texts when there is neither or the folder does not exist.
ReleaseLevel ReadReleaseLevel(const std::wstring& folder);
