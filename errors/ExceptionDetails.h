#pragma once
#include <cstdint>
#include <string>

// The error currently being handled: its message and where it was raised (0 when unknown).
// Call these from inside a catch block.
struct HandledError {
    std::wstring Message;
    std::uintptr_t RaiseAddress;
};
HandledError CurrentError();

// Describes the error currently being handled, after Prefix (and a paragraph break when Prefix is
// not empty). Outside a catch block it says that no error is raised.
std::wstring ExceptionDetails(const std::wstring& prefix);
