// A prompt that remembers every message box it was asked to show and answers from a script, so a
// test can check the exact text, title, buttons and icon the user would have seen.
#pragma once

#include "link/prompt.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace nx5rb::test {

class RecordingPrompt final : public Prompt
{
public:
    RecordingPrompt() = default;
    // Answers given in turn; once they run out every box is answered with OK.
    explicit RecordingPrompt(std::deque<PromptAnswer> answers)
        : Answers(std::move(answers))
    { }

    PromptAnswer Show(const PromptMessage &message) override
    {
        Shown.push_back(message);
        if (WhileShown)
            WhileShown(message);
        if (AnswerWith)
            return AnswerWith(message);
        if (Answers.empty())
            return PromptAnswer::Ok;
        const PromptAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    // The texts shown, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const PromptMessage &message : Shown)
            texts.push_back(message.text);
        return texts;
    }

    std::deque<PromptAnswer> Answers;
    std::vector<PromptMessage> Shown;
    // Runs while a box is open, before it is answered: what the event loop does meanwhile.
    std::function<void(const PromptMessage &)> WhileShown;
    // When set, answers every box instead of the script of answers.
    std::function<PromptAnswer(const PromptMessage &)> AnswerWith;
};

} // namespace nx5rb::test
