#include "files/Retries.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "files/FileSystem.h"
#include "files/Pause.h"
#include "files/TextFile.h"
#include "text/SharedStrings.h"

#include <windows.h>

namespace {

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

bool ClearReadOnlyAttribute(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != FALSE;
}

[[noreturn]] void RaiseNotDeleted(const std::wstring& path)
{
    if (FileExists(path))
        throw EInOutError(L"Could not delete the file " + path + L", and it has been verified that it does still exist.", 0);
    throw EInOutError(L"Could not delete the file " + path + L" as it does not exist.", 0);
}

// The system can go on listing a deleted file while another process still has it open. Waiting
// for that is polite but not worth more than a few seconds.
void AwaitDisappearance(const std::wstring& path)
{
    const unsigned pollMs = 50;
    for (int polls = 0; polls < 100 && FileExists(path); ++polls)
        Pause(pollMs);
}

// The schedule shared by deletion and replacement: a read-only target is made writable after the
// first failure and tried again at once; otherwise each failure waits before the next attempt.
template <class Attempt>
void RetryRemoval(const std::wstring& target, bool clearReadOnly, Attempt attempt)
{
    for (int failures = 0;;) {
        if (attempt())
            return;
        if (++failures >= MaxFileAttempts)
            RaiseNotDeleted(target);
        if (failures == 1 && clearReadOnly && ClearReadOnlyAttribute(target))
            continue;
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
    RetryTextFileOperation(file, [&] { file.Rewrite(); }, OpenRetryPauseMs,
                           L"The following file could not be opened with Rewrite: ");
}

void CloseWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.Close(); }, CloseRetryPauseMs, L"The following file could not be closed: ");
}

void DeleteFileWithRetries(const std::wstring& path, bool clearReadOnly)
{
    const bool existedAtStart = FileExists(path);
    RetryRemoval(path, clearReadOnly, [&] {
        return DeleteFileW(path.c_str()) != FALSE || (existedAtStart && !FileExists(path));
    });
    AwaitDisappearance(path);
}

void ReplaceFileWithRetries(const std::wstring& source, const std::wstring& target)
{
    RetryRemoval(target, true, [&] {
        return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
}
