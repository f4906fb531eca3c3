#include "validation/Components.h"

#include "files/FileSystem.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "validation/ReleaseLevelText.h"

const wchar_t ReleaseFileName[] = L"Rev.Txt";

namespace {

struct LegacyFile {
    const wchar_t* Name;
    std::int32_t Level;
};

// Newest first: the first one present gives the level.
const LegacyFile LegacyFiles[] = {
    {L"\\TOOL55.EXE", 55},   {L"\\RUN-TOOL.EXE", 54}, {L"\\RUN_TOOL.EXE", 53}, {L"\\RUNTOOL.EXE", 52},
    {L"\\RUNTOOLS.EXE", 51}, {L"\\DRAWPLAN.EXE", 50}, {L"\\EXAMPLE.IMP", 42},  {L"\\INPUT.EXE", 12},
};

std::int32_t ReadReleaseFile(const std::wstring& path)
{
    TextFile file;  // released on every path, the conversion error included, so the file is not left locked
    file.Bind(path);
    ResetWithRetries(file);
    bool whole = false;
    const std::wstring first = file.ReadLineStart(MaxReleaseLineLength, whole);
    const std::int32_t level = ConvertReleaseLevel(first, whole);
    CloseWithRetries(file);
    return level;
}

}  // namespace

const std::vector<std::wstring>& RequiredComponents()
{
    static const std::vector<std::wstring> components{
#include "Components.inc"
    };
    return components;
}

std::int32_t ReadReleaseLevel(const std::wstring& folder)
{
    if (!DirectoryExistsQuietly(folder))
        return 0;
    const std::wstring releaseFile = folder + L"\\" + ReleaseFileName;
    if (FileExists(releaseFile))
        return ReadReleaseFile(releaseFile);
    for (const LegacyFile& legacy : LegacyFiles)
        if (FileExists(folder + legacy.Name))
            return legacy.Level;
    return 0;
}

bool ComponentsPresent(const std::wstring& folder)
{
    for (const std::wstring& component : RequiredComponents())
        if (!FileExists(folder + L"\\" + component))
            return false;
    return ReadReleaseLevel(folder) == RequiredReleaseLevel;
}
