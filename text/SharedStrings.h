#pragma once
// The line breaks every multi-sentence message is built with.
#include <string>

inline const std::wstring LineBreak = L"\r\n";
inline const std::wstring ParagraphBreak = L"\r\n\r\n";
