#pragma once
// File operations that retry after a fixed pause, because the program folder may be on a network
// drive where a file can be briefly held by someone else. After the last attempt they raise, with
// a message that names the file and quotes the last underlying error. Each pause says what it
// waits for (files/Pause.h). A close is not among them: a failed close has given the handle up
// already, so a second attempt could only fail on the handle (TextFile::Close).
#include <windows.h>

#include <functional>
#include <string>

class TextFile;

constexpr int MaxFileAttempts = 18;
constexpr unsigned OpenRetryPauseMs = 1000;
constexpr unsigned ReplaceRetryPauseMs = 2500;

void ResetWithRetries(TextFile& file);
// Opens an existing file for update (TextFile::OpenForUpdate), on the open's schedule.
void OpenForUpdateWithRetries(TextFile& file);
// Creates a file that must not exist yet, on the open's schedule. A name that is taken raises at
// once, with ERROR_FILE_EXISTS, and so does one that the volume cannot take, with its own error,
// for the caller to take another.
void CreateNewWithRetries(TextFile& file);
// The errors of a name that the volume cannot take (too long, or no 8.3 name where it takes only those).
bool IsNameTheVolumeRefuses(unsigned long error);
enum class TargetCheck { AsExpected, Changed, Unknown };

// Moves Source over Target in one step, on the close's schedule: the target either keeps its old
// content or has the new one, never neither. Right before each attempt, Check tells whether the
// target is still what the caller expects: Changed gives up at once and answers false, nothing
// moved; Unknown (with the system's error) counts as a failed attempt. Where the target was not
// there (TargetExists false), a file that has appeared there since is never replaced. A read-only
// target is made writable for the move, and read-only again when the move does not happen. The
// error names the target and gives the system's reason; where the old file is verified to be
// there still, it says so.
bool ReplaceFileWithRetries(const std::wstring& source, const std::wstring& target, bool targetExists,
                            const std::function<TargetCheck(DWORD& error)>& check);
