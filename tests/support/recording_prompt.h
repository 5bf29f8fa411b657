// A prompt that remembers every message box it was asked to show and answers from a script, so a
// test can check the exact text, title, buttons and icon the user would have seen.
#pragma once

#include "shell/prompt.h"

#include <deque>
#include <vector>

namespace nx5rb::test {

class RecordingPrompt final : public Prompt
{
public:
    RecordingPrompt() = default;
    // Answers given in turn; once they run out every box is answered with OK.
    explicit RecordingPrompt(std::deque<PromptAnswer> answers)
        : answers_(std::move(answers))
    { }

    PromptAnswer Show(const PromptMessage &message) override
    {
        Shown.push_back(message);
        if (answers_.empty())
            return PromptAnswer::Ok;
        const PromptAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::vector<PromptMessage> Shown;

private:
    std::deque<PromptAnswer> answers_;
};

} // namespace nx5rb::test
