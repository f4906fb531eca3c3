#pragma once
// Whether an installation folder holds the product's components at the one release level this
// program accepts. Neither operation shows anything.
#include <cstdint>
#include <string>
#include <vector>

constexpr std::int32_t RequiredReleaseLevel = 131;
extern const wchar_t ReleaseFileName[];  // "Rev.Txt"

// The components, as paths in the program folder, in the order they are tested.
const std::vector<std::wstring>& RequiredComponents();
// Folder is given without a trailing "\".
bool ComponentsPresent(const std::wstring& folder);
// From the release-level file's first line or, without that file, from the newest legacy file
// present; 0 when there is neither or the folder does not exist.
std::int32_t ReadReleaseLevel(const std::wstring& folder);
