#pragma once
#include <string>

// Describes the error currently being handled, after Prefix (and a paragraph break when Prefix is
// not empty). Call it from inside a catch block; outside one it says that no error is raised.
std::wstring ExceptionDetails(const std::wstring& prefix);
