#include "access/FolderAccess.h"

#include "files/FileSystem.h"
#include "files/Pause.h"
#include "owners/Owners.h"
#include "owners/ScopeGuard.h"

#include <algorithm>
#include <cwctype>

namespace {

const int StepAttempts = 3;
const unsigned StepRetryPauseMs = 300;

// Tries Attempt up to three times, pausing after the first and the second failure.
template <class Attempt>
bool TryThreeTimes(Attempt attempt)
{
    int failures = 0;
    const ScopeGuard over([&] {
        if (failures > 0)
            WaitOver();
    });
    for (;;) {
        if (attempt())
            return true;
        if (++failures == StepAttempts)
            return false;
        Pause(StepRetryPauseMs, {L"the folder access test", (failures - 1) * StepRetryPauseMs});
    }
}

std::wstring UpperCase(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
    return text;
}

std::wstring WithSeparator(const std::wstring& folder)
{
    return folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
}

void TestDirectorySteps(FolderAccessOperations& operations, const std::wstring& folder, StepStates& states)
{
    const std::wstring path = UniqueFolderName(folder);
    if (!operations.CreateFolder(path)) {
        states[asCreateDirectory] = ssFailure;
        return;
    }
    states[asCreateDirectory] = ssSuccess;
    states[asDeleteDirectory] = TryThreeTimes([&] { return operations.RemoveFolder(path); }) ? ssSuccess : ssFailure;
}

void TestFileSteps(FolderAccessOperations& operations, const std::wstring& folder, StepStates& states)
{
    const std::wstring path = UniqueFileName(folder, L".Tmp");
    const HANDLE file = operations.CreateScratchFile(path);
    if (file == INVALID_HANDLE_VALUE) {
        states[asCreateFile] = ssFailure;
        return;
    }
    // A close that fails has given the handle up all the same, so it is not tried again; the
    // file, which may not hold what was written, is not deleted.
    if (!operations.CloseFile(file)) {
        states[asCreateFile] = ssFailure;
        return;
    }
    states[asCreateFile] = ssSuccess;
    states[asDeleteFile] =
        TryThreeTimes([&] { return operations.DeleteScratchFile(path) || ExaminePath(path).Kind == PathKind::Missing; })
            ? ssSuccess
            : ssFailure;
}

void TestOpenExistingFile(FolderAccessOperations& operations, const std::wstring& folder, StepStates& states)
{
    if (folder.empty())
        return;  // an empty pattern lists nothing
    WIN32_FIND_DATAW entry;
    FindHandle listing(FindFirstFileW((WithSeparator(folder) + L"*.*").c_str(), &entry));
    if (!listing.Valid())
        return;
    do {
        if (!IsReadWriteCandidate(entry))
            continue;
        const HANDLE file = operations.OpenExistingFile(WithSeparator(folder) + entry.cFileName);
        if (file == INVALID_HANDLE_VALUE) {
            states[asOpenExistingFile] = ssFailure;
            continue;
        }
        states[asOpenExistingFile] = operations.CloseFile(file) ? ssSuccess : ssFailure;
    } while (states[asOpenExistingFile] != ssSuccess && FindNextFileW(listing, &entry));
}

}  // namespace

bool FolderAccessOperations::CreateFolder(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

bool FolderAccessOperations::RemoveFolder(const std::wstring& path)
{
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

// Created new: a name that could not be examined may belong to a file of someone else's, which
// this test must fail on rather than empty.
HANDLE FolderAccessOperations::CreateScratchFile(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE FolderAccessOperations::OpenExistingFile(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool FolderAccessOperations::CloseFile(HANDLE file)
{
    return CloseHandle(file) != FALSE;
}

bool FolderAccessOperations::DeleteScratchFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != FALSE;
}

bool IsReadWriteCandidate(const WIN32_FIND_DATAW& entry)
{
    if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return false;
    const std::wstring name = entry.cFileName;
    const std::size_t dot = name.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? std::wstring() : UpperCase(name.substr(dot));
    return extension != L".DLL" && extension != L".EXE" && extension != L".PIF";
}

StepStates RunFolderAccessSteps(FolderAccessOperations& operations, const std::wstring& folder, bool includeFileSteps,
                                const std::function<void()>& keepResponsive)
{
    StepStates states;
    states.fill(ssNotPerformed);
    TestDirectorySteps(operations, folder, states);
    keepResponsive();
    if (includeFileSteps) {
        TestFileSteps(operations, folder, states);
        keepResponsive();
        TestOpenExistingFile(operations, folder, states);
    }
    return states;
}

StepStates FolderAccessTest(const std::wstring& folder, bool includeFileSteps, const std::function<void()>& keepResponsive)
{
    FolderAccessOperations system;
    return RunFolderAccessSteps(system, folder, includeFileSteps, keepResponsive);
}

bool AccessTestPassed(const StepStates& states)
{
    return std::find(states.begin(), states.end(), ssFailure) == states.end();
}
