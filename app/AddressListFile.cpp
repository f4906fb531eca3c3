#include "app/AddressListFile.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "files/FileSystem.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "files/TimeOfDayStamp.h"
#include "text/SharedStrings.h"

#include <windows.h>

#include <memory>

namespace {

// Names tried for a scratch file before giving up: each is taken only by a file that another
// program made under a name no one would choose.
const int ScratchNames = 100;

// The new list while it is written: a file of the program's own, created new beside the list
// under a name that begins with the list's ("IPList.Txt.<time of day>.Tmp"), so that one left
// behind by a crash or a power loss tells whose it is. Removed again unless it has taken the
// list's place. Its errors speak of the list, the only file the user knows.
class ScratchFile {
public:
    explicit ScratchFile(const std::wstring& listPath) : FListPath(listPath), FFile(std::make_unique<TextFile>())
    {
        const std::wstring stem = listPath + L"." + TimeOfDayStamp();
        for (int name = 1;; ++name) {
            FFile->Bind(stem + (name > 1 ? L"-" + std::to_wstring(name) : std::wstring()) + L".Tmp");
            try {
                CreateNewWithRetries(*FFile);
                return;
            } catch (EInOutError& error) {
                if (error.ErrorCode() != ERROR_FILE_EXISTS || name == ScratchNames)
                    RaiseAsTheList(error);
            }
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile()
    {
        if (!FFile)
            return;
        const std::wstring path = FFile->Path();
        FFile.reset();  // gives the handle back without writing what is buffered
        DeleteFileW(path.c_str());
    }

    const std::wstring& Path() const { return FFile->Path(); }

    void Write(const Entries& list)
    {
        try {
            for (const std::wstring& entry : list)
                FFile->WriteLine(entry);
            FFile->Commit();
        } catch (EInOutError& error) {
            error.SetMessage(ExceptionDetails(L"The following file could not be written: " + LineBreak + FListPath));
            throw;
        }
        try {
            CloseWithRetries(*FFile);
        } catch (EInOutError& error) {
            RaiseAsTheList(error);
        }
    }

    // It has taken the list's place: nothing is left to remove.
    void Keep() { FFile.reset(); }

private:
    [[noreturn]] void RaiseAsTheList(EInOutError& error)
    {
        std::wstring message = error.Message();
        const std::wstring& scratchPath = FFile->Path();
        const std::size_t at = message.find(scratchPath);
        if (at != std::wstring::npos)
            message.replace(at, scratchPath.size(), FListPath);
        error.SetMessage(message);
        throw;
    }

    std::wstring FListPath;
    std::unique_ptr<TextFile> FFile;
};

}  // namespace

std::wstring AddressListPath(const std::wstring& folder)
{
    return folder + L"\\IPList.Txt";
}

Entries LoadAddressList(const std::wstring& folder)
{
    Entries list;
    const std::wstring path = AddressListPath(folder);
    // Only a list that is certainly not there is an empty one. One that cannot be examined is
    // opened all the same, and the open's retries and message say what is wrong with it.
    const PathKind kind = ExaminePath(path).Kind;
    if (kind == PathKind::Missing || kind == PathKind::Directory)
        return list;
    TextFile file;
    file.Bind(path);
    ResetWithRetries(file);
    while (!file.Eof())
        list.push_back(file.ReadLine());
    CloseWithRetries(file);
    return list;
}

void SaveAddressList(const std::wstring& folder, const Entries& list)
{
    const std::wstring path = AddressListPath(folder);
    TextFile target;
    target.Bind(path);  // a list path over the limit fails here, before anything is written
    ScratchFile scratch(path);
    scratch.Write(list);
    ReplaceFileWithRetries(scratch.Path(), path);
    scratch.Keep();
}
