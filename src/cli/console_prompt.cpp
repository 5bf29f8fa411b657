#include "cli/console_prompt.h"

namespace nx5rb::cli {

void ConsolePrompt::Report(const PromptMessage &message)
{
    err_ << "nx5rb-cli: ";
    if (!context_.empty())
        err_ << context_ << ": ";
    err_ << message.text << "\n";
}

PromptAnswer ConsolePrompt::Show(const PromptMessage &message)
{
    switch (message.buttons) {
    case PromptButtons::OkCancel:
        return PromptAnswer::Ok;
    case PromptButtons::YesNoCancel:
        return PromptAnswer::Cancel;
    case PromptButtons::RetryCancel:
        Report(message);
        if (retriesLeft_ == 0)
            return PromptAnswer::Cancel;
        --retriesLeft_;
        ++retriesTaken_;
        err_ << "nx5rb-cli: retry " << retriesTaken_ << "\n";
        return PromptAnswer::Retry;
    case PromptButtons::Ok:
        break;
    }
    Report(message);
    return PromptAnswer::Ok;
}

} // namespace nx5rb::cli
