#pragma once
// GoogleTest's hook for a platform's own pieces, for the win32 threading model of MinGW-w64 that
// the program is built with: that model has no std::mutex or std::condition_variable, which the
// one class below needs in GoogleTest's own version. Found before GoogleTest's empty hook because
// the build puts this folder first.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controller thread hold back a new thread until it is told to go on.
class Notification {
public:
    Notification() : FEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { CloseHandle(FEvent); }
    void Notify() { SetEvent(FEvent); }
    void WaitForNotification() { WaitForSingleObject(FEvent, INFINITE); }

private:
    HANDLE FEvent;
};

}  // namespace internal
}  // namespace testing
