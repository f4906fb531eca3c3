#include "app/AddressListFile.h"

#include "files/FileSystem.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "validation/ProgramFolder.h"

#include <windows.h>

namespace {

// The new list while it is being written; removed again unless it has taken the list's place.
class ScratchFile {
public:
    explicit ScratchFile(std::wstring path) : FPath(std::move(path)) {}
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile()
    {
        if (!FPath.empty())
            DeleteFileW(FPath.c_str());
    }
    const std::wstring& Path() const { return FPath; }
    void Keep() { FPath.clear(); }

private:
    std::wstring FPath;
};

}  // namespace

std::wstring AddressListPath()
{
    return ProgramFolder + L"\\IPList.Txt";
}

void LoadAddressList(StringList& list)
{
    list.clear();
    const std::wstring path = AddressListPath();
    if (!FileExists(path))
        return;
    TextFile file;
    file.Bind(path);
    ResetWithRetries(file);
    while (!file.Eof())
        list.push_back(file.ReadLine());
    CloseWithRetries(file);
}

void SaveAddressList(const StringList& list)
{
    const std::wstring path = AddressListPath();
    TextFile target;
    target.Bind(path);  // a list path over the limit fails here, before anything is written

    ScratchFile scratch(UniqueFileName(ProgramFolder, L".Tmp"));
    {
        TextFile output;
        output.Bind(scratch.Path());
        RewriteWithRetries(output);
        for (const std::wstring& entry : list)
            output.WriteLine(entry);
        output.Commit();
        CloseWithRetries(output);
    }
    ReplaceFileWithRetries(scratch.Path(), path);
    scratch.Keep();
}
