#include "validation/Components.h"

#include "files/FileSystem.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "validation/ReleaseLevelText.h"

const wchar_t ReleaseFileName[] = L"Rev.Txt";

namespace {

const wchar_t* const RequiredComponents[] = {L"\\QVR.Exe", L"\\REV.TXT", L"\\ZVQ", L"\\TABLDATA\\CATALOGX"};

struct LegacyFile {
    const wchar_t* Name;
    std::int32_t Level;
};

// Newest first: the first one present gives the level.
const LegacyFile LegacyFiles[] = {
    {L"\\TOOL55.EXE", 55},   {L"\\RUN-TOOL.EXE", 54}, {L"\\RUN_TOOL.EXE", 53}, {L"\\RUNTOOL.EXE", 52},
    {L"\\RUNTOOLS.EXE", 51}, {L"\\DRAWPLAN.EXE", 50}, {L"\\EXAMPLE.IMP", 42},  {L"\\INPUT.EXE", 12},
};

ReleaseLevel ReadReleaseFile(const std::wstring& path)
{
    ReleaseLevel release;
    TextFile file;  // released on every path, the conversion error included, so the file is not left locked
    file.Bind(path);
    ResetWithRetries(file);
    bool whole = false;
    const std::wstring first = file.ReadLineStart(MaxReleaseLineLength, whole);
    release.Level = ConvertReleaseLevel(first, whole);
    release.SecondLine = file.ReadLine();
    release.ThirdLine = file.ReadLine();
    CloseWithRetries(file);
    return release;
}

}  // namespace

ReleaseLevel ReadReleaseLevel(const std::wstring& folder)
{
    if (!DirectoryExistsQuietly(folder))
        return ReleaseLevel();
    const std::wstring releaseFile = folder + L"\\" + ReleaseFileName;
    if (FileExists(releaseFile))
        return ReadReleaseFile(releaseFile);
    ReleaseLevel release;
    for (const LegacyFile& legacy : LegacyFiles)
        if (FileExists(folder + legacy.Name)) {
            release.Level = legacy.Level;
            break;
        }
    return release;
}

bool ComponentsPresent(const std::wstring& folder)
{
    for (const wchar_t* component : RequiredComponents)
        if (!FileExists(folder + component))
            return false;
    return ReadReleaseLevel(folder).Level == RequiredReleaseLevel;
}
