#pragma once
// File operations that retry after a fixed pause, because the program folder may be on a network
// drive where a file can be briefly held by someone else. After the last attempt they raise, with
// a message that names the file and quotes the last underlying error.
#include <string>

class TextFile;

constexpr int MaxFileAttempts = 18;
constexpr unsigned OpenRetryPauseMs = 1000;
constexpr unsigned CloseRetryPauseMs = 2500;
constexpr unsigned DeleteRetryPauseMs = 2500;

void ResetWithRetries(TextFile& file);
void RewriteWithRetries(TextFile& file);
void CloseWithRetries(TextFile& file);
void DeleteFileWithRetries(const std::wstring& path, bool clearReadOnly);
// Moves Source over Target in one step, on the deletion's schedule and with its messages: the
// target either keeps its old content or has the new one, never neither.
void ReplaceFileWithRetries(const std::wstring& source, const std::wstring& target);
