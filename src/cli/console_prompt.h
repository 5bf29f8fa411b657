// Message boxes on a terminal: confirmations are taken as OK, connection prompts as Cancel, and
// every message is written to the error stream.
#pragma once

#include "shell/prompt.h"

#include <ostream>
#include <string>

namespace nx5rb::cli {

class ConsolePrompt final : public Prompt
{
public:
    // `context` (a file name, a port) is put before every message.
    explicit ConsolePrompt(std::ostream &err, std::string context = {})
        : err_(err)
        , context_(std::move(context))
    { }

    PromptAnswer Show(const PromptMessage &message) override;

private:
    void Report(const PromptMessage &message);

    std::ostream &err_;
    std::string context_;
};

} // namespace nx5rb::cli
