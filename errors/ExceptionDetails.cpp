#include "errors/ExceptionDetails.h"

#include "errors/Exception.h"
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

}  // namespace

HandledError CurrentError()
{
    try {
        throw;
    } catch (const Exception& error) {
        return {error.Message(), error.RaiseAddress()};
    } catch (const std::exception& error) {
        return {Widen(error.what()), 0};
    } catch (...) {
        return {L"Unknown error", 0};
    }
}

std::wstring ExceptionDetails(const std::wstring& prefix)
{
    std::wstring result = prefix.empty() ? std::wstring() : prefix + ParagraphBreak;
    if (!std::current_exception()) {
        result += L"There is no exception currently raised.";
        return result;
    }
    const HandledError error = CurrentError();
    result += L"Standard exception message: ";
    result += error.Message;
    result += ParagraphBreak;
    result += L"Exception occurred at address: ";
    result += std::to_wstring(error.RaiseAddress);
    return result;
}
