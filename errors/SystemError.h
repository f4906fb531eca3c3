#pragma once
#include <string>

// The platform's own message for a system error code, without its trailing line break.
std::wstring SystemErrorMessage(unsigned long errorCode);
// Raises EInOutError for the calling thread's last error.
[[noreturn]] void RaiseLastInOutError();
[[noreturn]] void RaiseInOutError(unsigned long errorCode);
