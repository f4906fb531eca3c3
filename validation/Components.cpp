#include "validation/Components.h"

#include "files/CodePage.h"
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

// Only the first line counts, and of it only what the number needs.
std::int32_t ReadReleaseFile(const std::wstring& path)
{
    TextFile file;  // released on every path, the conversion error included, so the file is not left locked
    file.Bind(path);
    ResetWithRetries(file);
    ReleaseLevelReader reader;
    char buffer[4096];
    bool more = true;
    while (more) {
        const std::size_t read = file.Read(buffer, sizeof buffer);
        more = read > 0;
        for (std::size_t i = 0; more && i < read; ++i)
            more = buffer[i] != '\r' && buffer[i] != '\n' && buffer[i] != '\x1A' && reader.Take(buffer[i]);
    }
    file.Close();
    return reader.Level([](std::string_view bytes) { return FromAnsi(bytes); });
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
