#pragma once
// Every wait of the retrying operations goes through here, so tests can count the pauses instead of
// sitting them out. The shipped program links a pause that keeps the window answering and tells it
// what is waited for (app/AnsweringPause.cpp); only test builds link another.
#include <string>

// What a retrying operation waits for (a file's name and why, as a title may show it after
// "waiting for "), and how long it has waited for it before this pause.
struct WaitNotice {
    std::wstring For;
    unsigned WaitedMs = 0;
};

void Pause(unsigned milliseconds, const WaitNotice& notice);
// The operation that paused is over, done or given up: nothing is waited for any more.
void WaitOver();
