#include "errors/Exception.h"

// Constructors live out of line so that the frame counts below stay true: one frame for the
// base constructor, one more for each derived constructor between it and the raise site.
Exception::Exception(std::wstring message) : Exception(std::move(message), 1) {}

Exception::Exception(std::wstring message, int framesAboveRaiseSite)
    : FMessage(std::move(message)), FRaiseAddress(CaptureRaiseAddress(framesAboveRaiseSite + 1)) {}

EInOutError::EInOutError(std::wstring message, unsigned long errorCode)
    : Exception(std::move(message), 2), FErrorCode(errorCode) {}

EConvertError::EConvertError(std::wstring message) : Exception(std::move(message), 2) {}

EComponentError::EComponentError(std::wstring message) : Exception(std::move(message), 2) {}
