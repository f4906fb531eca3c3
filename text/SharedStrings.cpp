#include "text/SharedStrings.h"

std::wstring LineBreak;
std::wstring ParagraphBreak;

void StartSharedStrings()
{
    LineBreak = L"\r\n";
    ParagraphBreak = LineBreak + LineBreak;
}

void StopSharedStrings()
{
    LineBreak.clear();
    LineBreak.shrink_to_fit();
    ParagraphBreak.clear();
    ParagraphBreak.shrink_to_fit();
}
