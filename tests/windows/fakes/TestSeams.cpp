#include "tests/windows/fakes/TestSeams.h"

#include "files/Pause.h"

#include <gtest/gtest.h>

#include <numeric>

namespace TestSeams {

std::vector<unsigned> Pauses;
std::function<void(std::size_t)> OnPause;
std::vector<ShownMessage> Messages;
std::deque<Answer> Answers;

void Reset()
{
    Pauses.clear();
    OnPause = nullptr;
    Messages.clear();
    Answers.clear();
}

unsigned PausedMilliseconds()
{
    return std::accumulate(Pauses.begin(), Pauses.end(), 0u);
}

}  // namespace TestSeams

void Pause(unsigned milliseconds)
{
    TestSeams::Pauses.push_back(milliseconds);
    if (TestSeams::OnPause)
        TestSeams::OnPause(TestSeams::Pauses.size());
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
