#pragma once
// The line breaks every multi-sentence message is built with. They are set by the module start
// sequence (StartSharedStrings) before anything else runs, and released at the end.
#include <string>

extern std::wstring LineBreak;       // CR LF
extern std::wstring ParagraphBreak;  // CR LF CR LF

void StartSharedStrings();
void StopSharedStrings();
