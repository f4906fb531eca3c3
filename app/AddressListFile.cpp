#include "app/AddressListFile.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "files/CodePage.h"
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

// The new list while it is written: a file of the program's own, created new beside the list
// under a name that begins with the list's ("IPList.Txt.<time of day>.Tmp"), so that one left
// behind by a crash or a power loss tells whose it is; on a volume that takes only short names,
// "IP<six hexadecimal digits>.Tmp". Removed again unless it has taken the list's place. Its
// errors speak of the list, the only file the user knows.
class ScratchFile {
public:
    ScratchFile(const std::wstring& folder, const std::wstring& listPath) : FListPath(listPath), FFile(std::make_unique<TextFile>())
    {
        const std::wstring stem = listPath + L"." + TimeOfDayStamp();
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

// Whether the list is still as Expected, right before the new list takes its place.
TargetCheck CheckUnchanged(const std::wstring& path, const ListFileState& expected, DWORD& error)
{
    TextFile file;
    file.Bind(path);
    try {
        return ReadState(file, path, false) == expected ? TargetCheck::AsExpected : TargetCheck::Changed;
    } catch (const EInOutError& failure) {
        error = failure.ErrorCode();
        return TargetCheck::Unknown;
    }
}

Entries Convert(const ListText& text, HiddenText& hidden)
{
    Entries entries;
    entries.reserve(text.Lines.size());
    for (const std::string& bytes : text.Lines) {
        Entry entry{FromAnsi(bytes), {}};
        if (ToAnsi(entry.Text) != bytes) {
            entry.Original = bytes;
            if (!hidden.CodePageLine)
                hidden.CodePageLine = entries.size() + 1;
        }
        if (!hidden.NulLine && entry.Text.find(L'\0') != std::wstring::npos)
            hidden.NulLine = entries.size() + 1;
        entries.push_back(std::move(entry));
    }
    return entries;
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
    return folder + L"\\IPList.Txt";
}

ListFile ReadAddressList(const std::wstring& folder)
{
    const std::wstring path = AddressListPath(folder);
    TextFile file;
    file.Bind(path);  // a list path over the limit fails here, before any retry
    ListFile list;
    list.State = ReadState(file, path, true);
    const ListText text = SplitListText(list.State.Bytes);
    if (text.TooLong)
        throw EInOutError(TooLargeMessage(path), ERROR_FILE_TOO_LARGE);
    list.Lines = Convert(text, list.Hidden);
    list.Tail = text.Tail;
    if (TailHidesText(list.Tail))
        list.Hidden.EndOfTextLine = text.TailLine;
    return list;
}

std::optional<ListFileState> WriteAddressList(const std::wstring& folder, const Entries& entries, const std::string& tail,
                                              const ListFileState& expected)
{
    const std::wstring path = AddressListPath(folder);
    TextFile target;
    target.Bind(path);  // a list path over the limit fails here, before anything is written
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const Entry& entry : entries)
        lines.push_back(entry.Original.empty() ? ToAnsi(entry.Text) : entry.Original);
    ListFileState written{true, JoinListText(lines, tail)};
    ScratchFile scratch(folder, path);
    scratch.Write(written.Bytes);
    if (!ReplaceFileWithRetries(scratch.Path(), path, expected.Existed,
                                [&](DWORD& error) { return CheckUnchanged(path, expected, error); }))
        return std::nullopt;
    scratch.Keep();
    RemoveLeftBehindScratchFiles(folder, path);
    return written;
}
