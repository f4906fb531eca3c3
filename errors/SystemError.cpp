#include "errors/SystemError.h"

#include "errors/Exception.h"
#include "owners/Owners.h"

#include <windows.h>

std::wstring SystemErrorMessage(unsigned long errorCode)
{
    LocalMemory buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        errorCode, 0, reinterpret_cast<wchar_t*>(buffer.Receive()), 0, nullptr);
    std::wstring text = length ? std::wstring(static_cast<const wchar_t*>(static_cast<HLOCAL>(buffer)), length) : std::wstring();
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"System error " + std::to_wstring(errorCode);
    return text;
}

void RaiseInOutError(unsigned long errorCode)
{
    throw EInOutError(SystemErrorMessage(errorCode), errorCode);
}

void RaiseLastInOutError()
{
    RaiseInOutError(GetLastError());
}
