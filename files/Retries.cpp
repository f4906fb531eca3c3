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

// The pauses of one retried operation, told what they wait for; the wait is over when it goes.
class RetryWaits {
public:
    RetryWaits() = default;
    RetryWaits(const RetryWaits&) = delete;
    RetryWaits& operator=(const RetryWaits&) = delete;
    ~RetryWaits()
    {
        if (FWaitedMs)
            WaitOver();
    }

    void Pause(unsigned milliseconds, const std::wstring& path, unsigned long error)
    {
        ::Pause(milliseconds, {WaitedFor(path, error), FWaitedMs});
        FWaitedMs += milliseconds;
    }

private:
    // "IPList.Txt, which another program holds", or the file's name and the system's reason.
    static std::wstring WaitedFor(const std::wstring& path, unsigned long error)
    {
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return name + L", which another program holds";
        std::wstring reason = error ? SystemErrorMessage(error) : std::wstring();
        while (!reason.empty() && (reason.back() == L'.' || reason.back() == L' '))
            reason.pop_back();
        return reason.empty() ? name : name + L" (" + reason + L")";
    }

    unsigned FWaitedMs = 0;
};

template <class Operation>
void RetryTextFileOperation(TextFile& file, Operation operation, unsigned pauseMs, const wchar_t* sentence)
{
    RetryWaits waits;
    for (int failures = 0;;) {
        try {
            operation();
            return;
        } catch (Exception& error) {
            if (++failures < MaxFileAttempts) {
                const auto* failure = dynamic_cast<const EInOutError*>(&error);
                waits.Pause(pauseMs, file.Path(), failure ? failure->ErrorCode() : 0);
                continue;
            }
            error.SetMessage(ExceptionDetails(sentence + LineBreak + file.Path()));
            throw;
        }
    }
}

// Leaves a retry loop at once, being outside the error hierarchy that the loop retries on: a
// name that is taken stays taken, and one that the volume cannot take stays so.
struct NameRefused {
    unsigned long Error;
};

unsigned long RefusedName(unsigned long error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return ERROR_FILE_EXISTS;
    default: return IsNameTheVolumeRefuses(error) ? error : 0;
    }
}

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

}  // namespace

bool IsNameTheVolumeRefuses(unsigned long error)
{
    return error == ERROR_INVALID_NAME || error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_BAD_PATHNAME;
}

void ResetWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.Reset(); }, OpenRetryPauseMs,
                           L"The following file could not be opened with Reset: ");
}

void OpenForUpdateWithRetries(TextFile& file)
{
    RetryTextFileOperation(file, [&] { file.OpenForUpdate(); }, OpenRetryPauseMs,
                           L"The following file could not be opened for writing: ");
}

void CreateNewWithRetries(TextFile& file)
{
    try {
        RetryTextFileOperation(file,
                               [&] {
                                   try {
                                       file.CreateNew();
                                   } catch (const EInOutError& error) {
                                       if (const unsigned long refused = RefusedName(error.ErrorCode()))
                                           throw NameRefused{refused};
                                       throw;
                                   }
                               },
                               OpenRetryPauseMs, L"The following file could not be created: ");
    } catch (const NameRefused& refused) {
        RaiseInOutError(refused.Error);
    }
}

// A read-only target is made writable after the first failure and tried again at once; otherwise
// each failure waits before the next attempt.
bool ReplaceFileWithRetries(const std::wstring& source, const std::wstring& target, bool targetExists,
                            const std::function<TargetCheck(DWORD& error)>& check)
{
    // No retry makes room where a folder stands.
    if (ExaminePath(target).Kind == PathKind::Directory)
        throw EInOutError(L"The following file could not be replaced: " + LineBreak + target + ParagraphBreak +
                              L"A folder of that name stands in its place.",
                          ERROR_ACCESS_DENIED);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (targetExists ? MOVEFILE_REPLACE_EXISTING : 0);
    bool tookReadOnly = false;
    RetryWaits waits;
    for (int failures = 0;;) {
        DWORD error = 0;
        switch (check(error)) {
        case TargetCheck::Changed:
            if (tookReadOnly)
                RestoreReadOnlyAttribute(target);
            return false;
        case TargetCheck::AsExpected:
            if (MoveFileExW(ExtendedLengthPath(source).c_str(), ExtendedLengthPath(target).c_str(), flags))
                return true;
            error = GetLastError();
            break;
        case TargetCheck::Unknown:
            break;
        }
        if (++failures >= MaxFileAttempts) {
            if (tookReadOnly)
                RestoreReadOnlyAttribute(target);
            RaiseNotReplaced(target, error);
        }
        bool wasReadOnly = false;
        if (failures == 1 && ClearReadOnlyAttribute(target, wasReadOnly)) {
            tookReadOnly = wasReadOnly;
            continue;
        }
        waits.Pause(ReplaceRetryPauseMs, target, error);
    }
}
