#include "files/Retries.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "errors/SystemError.h"
#include "files/FileSystem.h"
#include "files/Pause.h"
#include "files/TextFile.h"
#include "text/SharedStrings.h"

#include <windows.h>

namespace {

const wchar_t RewriteSentence[] = L"The following file could not be opened with Rewrite: ";

template <class Operation>
void RetryTextFileOperation(TextFile& file, Operation operation, unsigned pauseMs, const wchar_t* sentence)
{
    for (int failures = 0;;) {
        try {
            operation();
            return;
        } catch (Exception& error) {
            if (++failures < MaxFileAttempts) {
                Pause(pauseMs);
                continue;
            }
            error.SetMessage(ExceptionDetails(sentence + LineBreak + file.Path()));
            throw;
        }
    }
}

// Leaves a retry loop at once, being outside the error hierarchy that the loop retries on: a
// name that is taken stays taken.
struct NameTaken {};

// The attributes written back without the read-only one; false when that could not be done.
// WasReadOnly tells whether there was one to take away.
bool ClearReadOnlyAttribute(const std::wstring& path, bool& wasReadOnly)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    wasReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != FALSE;
}

void RestoreReadOnlyAttribute(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

// The deletion's two sentences hold only where the file's state was verified; where it could not
// be examined, the message says so and why.
[[noreturn]] void RaiseNotDeleted(const std::wstring& path)
{
    const PathState state = ExaminePath(path);
    if (state.Kind == PathKind::File)
        throw EInOutError(L"Could not delete the file " + path + L", and it has been verified that it does still exist.", 0);
    if (state.Kind == PathKind::Unknown)
        throw EInOutError(L"Could not delete the file " + path + L", and whether it still exists cannot be told." +
                              ParagraphBreak + SystemErrorMessage(state.Error),
                          0);
    throw EInOutError(L"Could not delete the file " + path + L" as it does not exist.", 0);
}

// A failed replacement names the file the user knows and the system's reason. Where the old file
// is verified to be there still, it says so in the deletion's own words.
[[noreturn]] void RaiseNotReplaced(const std::wstring& target, unsigned long error)
{
    const std::wstring sentence =
        ExaminePath(target).Kind == PathKind::File
            ? L"Could not delete the file " + target + L", and it has been verified that it does still exist."
            : L"The following file could not be replaced: " + LineBreak + target;
    throw EInOutError(sentence + ParagraphBreak + SystemErrorMessage(error), error);
}

// The system can go on listing a deleted file while another process still has it open. Waiting
// for that is polite but not worth more than a few seconds.
void AwaitDisappearance(const std::wstring& path)
{
    const unsigned pollMs = 50;
    for (int polls = 0; polls < 100 && ExaminePath(path).Kind != PathKind::Missing; ++polls)
        Pause(pollMs);
}

// The schedule shared by deletion and replacement: a read-only target is made writable after the
// first failure and tried again at once; otherwise each failure waits before the next attempt.
// Raise gives up at the last failure, told whether a read-only attribute was taken away.
template <class Attempt, class Raise>
void RetryRemoval(const std::wstring& target, bool clearReadOnly, Attempt attempt, Raise raise)
{
    bool tookReadOnly = false;
    for (int failures = 0;;) {
        if (attempt())
            return;
        if (++failures >= MaxFileAttempts)
            raise(tookReadOnly);
        if (failures == 1 && clearReadOnly) {
            bool wasReadOnly = false;
            if (ClearReadOnlyAttribute(target, wasReadOnly)) {
                tookReadOnly = wasReadOnly;
                continue;
            }
        }
        Pause(DeleteRetryPauseMs);
    }
}

}  // namespace

void ResetWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.Reset(); }, OpenRetryPauseMs,
                           L"The following file could not be opened with Reset: ");
}

void RewriteWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.Rewrite(); }, OpenRetryPauseMs, RewriteSentence);
}

void CreateNewWithRetries(TextFile& file)
{
    try {
        RetryTextFileOperation(file,
                               [&] {
                                   try {
                                       file.CreateNew();
                                   } catch (const EInOutError& error) {
                                       if (error.ErrorCode() == ERROR_FILE_EXISTS || error.ErrorCode() == ERROR_ALREADY_EXISTS)
                                           throw NameTaken{};
                                       throw;
                                   }
                               },
                               OpenRetryPauseMs, RewriteSentence);
    } catch (const NameTaken&) {
        RaiseInOutError(ERROR_FILE_EXISTS);
    }
}

void CloseWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.Close(); }, CloseRetryPauseMs, L"The following file could not be closed: ");
}

void DeleteFileWithRetries(const std::wstring& path, bool clearReadOnly)
{
    const bool existedAtStart = ExaminePath(path).Kind == PathKind::File;
    RetryRemoval(
        path, clearReadOnly,
        [&] { return DeleteFileW(path.c_str()) != FALSE || (existedAtStart && ExaminePath(path).Kind == PathKind::Missing); },
        [&](bool) { RaiseNotDeleted(path); });
    AwaitDisappearance(path);
}

void ReplaceFileWithRetries(const std::wstring& source, const std::wstring& target)
{
    // No retry makes room where a folder stands.
    if (ExaminePath(target).Kind == PathKind::Directory)
        throw EInOutError(L"The following file could not be replaced: " + LineBreak + target + ParagraphBreak +
                              L"A folder of that name stands in its place.",
                          ERROR_ACCESS_DENIED);
    DWORD lastError = 0;
    RetryRemoval(
        target, true,
        [&] {
            if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            lastError = GetLastError();
            return false;
        },
        [&](bool tookReadOnly) {
            if (tookReadOnly)
                RestoreReadOnlyAttribute(target);
            RaiseNotReplaced(target, lastError);
        });
}
