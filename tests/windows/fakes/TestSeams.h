#pragma once
// What the fake pause and message box saw, and how the message box answers.
#include "app/MessageBox.h"
#include "files/Pause.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownMessage {
    HWND Owner;
    std::wstring Text;
    MessageKind Kind;
    MessageButtons Buttons;
};

namespace TestSeams {

// Pauses are counted, not waited out. OnPause, when set, runs at each pause with the pause's number
// (1 for the first), so a test can change the world between two attempts.
extern std::vector<unsigned> Pauses;
extern std::function<void(std::size_t)> OnPause;
// What each pause said it waits for, and how many waits were over since the last Reset.
extern std::vector<WaitNotice> Notices;
extern int WaitsOver;

extern std::vector<ShownMessage> Messages;
// Answers for Yes/No boxes, taken from the front; a box that finds none fails the test.
extern std::deque<Answer> Answers;

void Reset();
unsigned PausedMilliseconds();

}  // namespace TestSeams
