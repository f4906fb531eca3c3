#include "app/AddressListFile.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "files/CodePage.h"
#include "files/FileSystem.h"
#include "files/Retries.h"
#include "files/TextFile.h"
#include "files/TimeOfDayStamp.h"
#include "owners/ScopeGuard.h"
#include "text/SharedStrings.h"

#include <windows.h>

#include <memory>

namespace {

const wchar_t ListName[] = L"\\IPList.Txt";

const AnsiConversion SystemCodePage{FromAnsi, ToAnsi};

// Raises Error again, its message naming Shown where it named Path.
[[noreturn]] void RaiseNaming(EInOutError& error, const std::wstring& path, const std::wstring& shown)
{
    std::wstring message = error.Message();
    const std::size_t at = message.find(path);
    if (at != std::wstring::npos && path != shown)
        message.replace(at, path.size(), shown);
    error.SetMessage(message);
    throw;
}

// Names tried for a scratch file before giving up: each is taken only by a file that another
// program made under a name no one would choose.
const int ScratchNames = 100;

wchar_t HexDigit(unsigned value)
{
    return L"0123456789ABCDEF"[value & 0xF];
}

// "IP" and six hexadecimal digits: a name that a volume taking only short names takes.
std::wstring ShortScratchName(const std::wstring& folder, unsigned number)
{
    std::wstring name = L"IP";
    for (int shift = 20; shift >= 0; shift -= 4)
        name += HexDigit(number >> shift);
    return folder + L"\\" + name + L".Tmp";
}

// The new list while it is written: a file of the program's own, created new in Folder, where the
// list lies, under a name that begins with the list's ("IPList.Txt.<time of day>.Tmp"), so that
// one left behind by a crash or a power loss tells whose it is; on a volume that takes only short
// names, "IP<six hexadecimal digits>.Tmp". Removed again unless it has taken the list's place, or
// holds the only whole copy of the new list. Its errors speak of the list, the only file the user
// knows.
class ScratchFile {
public:
    ScratchFile(const std::wstring& folder, const std::wstring& listPath) : FListPath(listPath), FFile(std::make_unique<TextFile>())
    {
        const std::wstring stem = folder + ListName + L"." + TimeOfDayStamp();
        bool shortNames = false;
        const unsigned first = GetTickCount();
        for (int name = 1;; ++name) {
            FFile->Bind(ExtendedLengthPath(shortNames ? ShortScratchName(folder, first + static_cast<unsigned>(name))
                                                      : stem + (name > 1 ? L"-" + std::to_wstring(name) : std::wstring()) + L".Tmp"));
            try {
                CreateNewWithRetries(*FFile);
                return;
            } catch (EInOutError& error) {
                if (!shortNames && IsNameTheVolumeRefuses(error.ErrorCode())) {
                    shortNames = true;
                    name = 0;
                    continue;
                }
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
        FFile.reset();  // gives the handle back
        DeleteFileW(path.c_str());
    }

    const std::wstring& Path() const { return FFile->Path(); }

    void Write(std::string_view bytes)
    {
        try {
            FFile->Write(bytes);
            FFile->Commit();
        } catch (EInOutError& error) {
            error.SetMessage(ExceptionDetails(L"The following file could not be written: " + LineBreak + FListPath));
            throw;
        }
        try {
            FFile->Close();
        } catch (EInOutError& error) {
            RaiseAsTheList(error);
        }
    }

    // It has taken the list's place, or is to be kept: nothing is left to remove.
    void Keep() { FFile.reset(); }

private:
    [[noreturn]] void RaiseAsTheList(EInOutError& error)
    {
        RaiseNaming(error, FFile->Path(), FListPath);
    }

    std::wstring FListPath;
    std::unique_ptr<TextFile> FFile;
};

// The file's bytes as they are now; Existed false where no file is there, or a folder is.
ListFileState ReadState(TextFile& file, const std::wstring& path, bool withRetries)
{
    const PathState state = ExaminePath(path);
    if (state.Kind == PathKind::Missing || state.Kind == PathKind::Directory)
        return ListFileState();
    // One that cannot be examined is opened all the same, and the open says what is wrong with it.
    withRetries ? ResetWithRetries(file) : file.Reset();
    ListFileState read{true, file.ReadAll(MaxListBytes)};
    file.Close();
    return read;
}

// Whether the file is as State has it, compared as it is read: nothing of its size is allocated.
bool FileIsAsState(TextFile& file, const std::wstring& path, const ListFileState& state, bool withRetries)
{
    const PathState now = ExaminePath(path);
    if (now.Kind == PathKind::Missing || now.Kind == PathKind::Directory)
        return !state.Existed;
    // One that cannot be examined is opened all the same, and the open says what is wrong with it.
    withRetries ? ResetWithRetries(file) : file.Reset();
    const bool same = state.Existed && file.Holds(state.Bytes);
    file.Close();
    return same;
}

// Whether the list is still as Expected, right before the new list takes its place.
TargetCheck CheckUnchanged(const std::wstring& path, const ListFileState& expected, DWORD& error)
{
    TextFile file;
    file.Bind(path);
    try {
        return FileIsAsState(file, path, expected, false) ? TargetCheck::AsExpected : TargetCheck::Changed;
    } catch (const EInOutError& failure) {
        error = failure.ErrorCode();
        return TargetCheck::Unknown;
    }
}

// The list has other names, which a replacement would part from it: the new list is written into
// the file itself. The scratch file holds it whole until the write is on the disk, so that a crash
// or a power loss in the middle leaves it there; a failure puts the old list back where it can,
// and otherwise keeps the scratch file and says where it is. Checked and written under one handle,
// shared with no one: nobody changes the file between the check and the write.
bool WriteInPlace(TextFile& list, const std::string& bytes, const ListFileState& expected, ScratchFile& scratch)
{
    const DWORD attributes = GetFileAttributesW(list.Path().c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesW(list.Path().c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    ScopeGuard restoreReadOnly([&] { SetFileAttributesW(list.Path().c_str(), attributes); });
    if (!readOnly)
        restoreReadOnly.Dismiss();
    OpenForUpdateWithRetries(list);
    if (!expected.Existed || !list.Holds(expected.Bytes)) {
        list.Close();
        return false;
    }
    try {
        list.Overwrite(bytes);
        list.Close();
    } catch (EInOutError& error) {
        std::wstring message = ExceptionDetails(L"The following file could not be written: " + LineBreak + list.Path());
        try {
            list.Overwrite(expected.Bytes);
            list.Close();
        } catch (const EInOutError&) {
            message += ParagraphBreak + L"The new list is kept whole in the following file:" + LineBreak + scratch.Path();
            scratch.Keep();
        }
        error.SetMessage(message);
        throw;
    }
    restoreReadOnly.Dismiss();
    return true;
}

std::uint64_t Ticks(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// What crashes and power losses left: the program's own scratch files an hour old or older; a
// younger one may be another workstation's save in progress. Their age is measured against the
// file system's clock, which stamped the list just written (Now), not against this workstation's.
void RemoveLeftBehindScratchFiles(const std::wstring& folder, const std::wstring& listPath)
{
    WIN32_FIND_DATAW list;
    if (!FindHandle(FindFirstFileW(ExtendedLengthPath(listPath).c_str(), &list)).Valid())
        return;
    WIN32_FIND_DATAW found;
    const FindHandle listing(FindFirstFileW(ExtendedLengthPath(folder + L"\\*.Tmp").c_str(), &found));
    if (!listing.Valid())
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsLeftBehindScratchFile(found.cFileName, Ticks(found.ftLastWriteTime), Ticks(list.ftLastWriteTime)))
            DeleteFileW(ExtendedLengthPath(folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(listing, &found));
}

}  // namespace

std::wstring AddressListPath(const std::wstring& folder)
{
    return folder + ListName;
}

ListFileState ReadAddressListState(const std::wstring& folder)
{
    const std::wstring path = AddressListPath(folder);
    TextFile file;
    file.Bind(path);  // a list path over the limit fails here, before any retry
    return ReadState(file, path, true);
}

bool AddressListIsAsBefore(const std::wstring& folder, const ListFileState& state)
{
    const std::wstring path = AddressListPath(folder);
    TextFile file;
    file.Bind(path);
    return FileIsAsState(file, path, state, true);
}

ListFile ParseAddressList(const std::wstring& folder, ListFileState state)
{
    std::optional<ListFile> list = ParseListFile(std::move(state), SystemCodePage);
    if (!list)
        throw EInOutError(TooLargeMessage(AddressListPath(folder)), ERROR_FILE_TOO_LARGE);
    return std::move(*list);
}

ListFile ReadAddressList(const std::wstring& folder)
{
    return ParseAddressList(folder, ReadAddressListState(folder));
}

std::optional<ListFileState> WriteAddressList(const std::wstring& folder, const Entries& entries, const ListFrame& frame,
                                              const ListFileState& expected)
{
    const std::wstring path = AddressListPath(folder);
    TextFile target;
    target.Bind(path);  // a list path over the limit fails here, before anything is written
    ListFileState written{true, ListFileBytes(entries, frame, SystemCodePage)};
    const FileLocation list = LocateFile(path);
    const std::wstring listFolder = list.Path.substr(0, list.Path.find_last_of(L'\\'));
    ScratchFile scratch(listFolder, path);
    scratch.Write(written.Bytes);
    if (list.Names > 1) {
        if (!WriteInPlace(target, written.Bytes, expected, scratch))
            return std::nullopt;
    } else {
        // Who may write the list, not its attributes: a read-only list is saved writable. (Where
        // access lists are mode bits, as under Wine, the copy brings the read-only flag along.)
        // Where the copy cannot be made, the folder's own access list applies.
        CopyAccessList(list.Path, scratch.Path());
        SetFileAttributesW(scratch.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
        try {
            if (!ReplaceFileWithRetries(scratch.Path(), list.Path, expected.Existed,
                                        [&](DWORD& error) { return CheckUnchanged(path, expected, error); }))
                return std::nullopt;
        } catch (EInOutError& error) {
            RaiseNaming(error, list.Path, path);
        }
        scratch.Keep();
    }
    RemoveLeftBehindScratchFiles(listFolder, list.Path);
    return written;
}
