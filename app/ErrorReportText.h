#pragma once
#include <string>

// The text of the default error report: the message, with a full stop added when it ends in a
// character that sorts after the full stop (a letter or a digit, say), but not after "." or ")".
std::wstring ErrorReportText(const std::wstring& message);
// The application's title when it sets none: the program file's name up to its first ".", every
// letter after the first in lower case.
std::wstring TitleFromProgramFileName(const std::wstring& fileName);
