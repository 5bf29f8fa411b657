// Message boxes on a terminal: confirmations are taken as OK, connection prompts as Cancel, and
// every message is written to the error stream.
#pragma once

#include "shell/prompt.h"

#include <ostream>
#include <string>
#include <vector>

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

    // Messages that were not plain confirmations (errors, warnings with only OK).
    const std::vector<PromptMessage> &Reports() const { return reports_; }

private:
    void Report(const PromptMessage &message);

    std::ostream &err_;
    std::string context_;
    std::vector<PromptMessage> reports_;
};

} // namespace nx5rb::cli
