#pragma once
// The program's error hierarchy. Every failing file operation raises EInOutError; the release-level
// conversion raises EConvertError. A handler may replace the message and raise the same object again.
#include <cstdint>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return FMessage; }
    void SetMessage(std::wstring message) { FMessage = std::move(message); }
    // Where the error was raised: a code address, shown in the error details.
    std::uintptr_t RaiseAddress() const noexcept { return FRaiseAddress; }
    const char* what() const noexcept override { return "program error"; }

protected:
    Exception(std::wstring message, int framesAboveRaiseSite);

private:
    std::wstring FMessage;
    std::uintptr_t FRaiseAddress;
};

class EInOutError : public Exception {
public:
    // ErrorCode is the system's error code where the system reported the failure, else 0.
    EInOutError(std::wstring message, unsigned long errorCode);
    unsigned long ErrorCode() const noexcept { return FErrorCode; }

private:
    unsigned long FErrorCode;
};

class EConvertError : public Exception {
public:
    explicit EConvertError(std::wstring message);
};

class EComponentError : public Exception {
public:
    explicit EComponentError(std::wstring message);
};

// The return address `framesAboveCaller` frames above the function that calls this one.
std::uintptr_t CaptureRaiseAddress(int framesAboveCaller);
