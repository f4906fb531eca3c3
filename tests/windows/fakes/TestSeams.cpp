#include "tests/windows/fakes/TestSeams.h"

#include "files/Pause.h"

#include <gtest/gtest.h>

#include <numeric>

namespace TestSeams {

std::vector<unsigned> Pauses;
std::vector<WaitNotice> Notices;
int WaitsOver = 0;
std::function<void(std::size_t)> OnPause;
std::vector<ShownMessage> Messages;
std::deque<Answer> Answers;

void Reset()
{
    Pauses.clear();
    Notices.clear();
    WaitsOver = 0;
    OnPause = nullptr;
    Messages.clear();
    Answers.clear();
}

unsigned PausedMilliseconds()
{
    return std::accumulate(Pauses.begin(), Pauses.end(), 0u);
}

}  // namespace TestSeams

void Pause(unsigned milliseconds, const WaitNotice& notice)
{
    TestSeams::Pauses.push_back(milliseconds);
    TestSeams::Notices.push_back(notice);
    if (TestSeams::OnPause)
        TestSeams::OnPause(TestSeams::Pauses.size());
}

void WaitOver()
{
    ++TestSeams::WaitsOver;
}

Answer ShowMessageBox(HWND owner, const std::wstring& text, MessageKind kind, MessageButtons buttons)
{
    TestSeams::Messages.push_back({owner, text, kind, buttons});
    if (buttons == MessageButtons::OK)
        return Answer::OK;
    if (TestSeams::Answers.empty()) {
        ADD_FAILURE() << "a question was asked that the test did not expect";
        return Answer::No;
    }
    const Answer answer = TestSeams::Answers.front();
    TestSeams::Answers.pop_front();
    return answer;
}
