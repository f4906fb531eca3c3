#include "app/ErrorReportText.h"

#include <cwctype>

std::wstring ErrorReportText(const std::wstring& message)
{
    if (!message.empty() && message.back() > L'.')
        return message + L".";
    return message;
}

std::wstring TitleFromProgramFileName(const std::wstring& fileName)
{
    std::wstring title = fileName.substr(0, fileName.find(L'.'));
    for (std::size_t i = 1; i < title.size(); ++i)
        title[i] = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(title[i])));
    return title;
}
