#include "files/ExceptionDetails.h"

#include "files/Exception.h"
#include "text/SharedStrings.h"

#include <exception>

namespace {

std::wstring Widen(const char* text)
{
    std::wstring result;
    for (const char* p = text; *p; ++p)
        result += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return result;
}

void AppendDetails(std::wstring& result, const std::wstring& message, std::uintptr_t address)
{
    result += L"Standard exception message: ";
    result += message;
    result += ParagraphBreak;
    result += L"Exception occurred at address: ";
    result += std::to_wstring(address);
}

}  // namespace

std::wstring ExceptionDetails(const std::wstring& prefix)
{
    std::wstring result = prefix.empty() ? std::wstring() : prefix + ParagraphBreak;
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        result += L"There is no exception currently raised.";
        return result;
    }
    try {
        std::rethrow_exception(current);
    } catch (const Exception& e) {
        AppendDetails(result, e.Message(), e.RaiseAddress());
    } catch (const std::exception& e) {
        AppendDetails(result, Widen(e.what()), 0);
    } catch (...) {
        AppendDetails(result, L"unknown error", 0);
    }
    return result;
}
