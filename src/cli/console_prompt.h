// Message boxes on a terminal: confirmations are taken as OK, connection prompts as Retry while
// retries are left and then as Cancel, and every message is written to the error stream, one
// line each.
#pragma once

#include "link/prompt.h"

#include <ostream>
#include <string>

namespace nx5rb::cli {

class ConsolePrompt final : public Prompt
{
public:
    // `context` (a file name, a port) is put before every message.
    explicit ConsolePrompt(std::ostream &err, std::string context = {}, int retries = 0)
        : err_(err)
        , context_(std::move(context))
        , retriesLeft_(retries)
    { }

    PromptAnswer Show(const PromptMessage &message) override;
    // What the messages are about from now on (the file being opened, then the port).
    void SetContext(std::string context) { context_ = std::move(context); }
    // Connection prompts answered with Retry so far.
    int RetriesTaken() const { return retriesTaken_; }

private:
    void Report(const PromptMessage &message);

    std::ostream &err_;
    std::string context_;
    int retriesLeft_ = 0;
    int retriesTaken_ = 0;
};

} // namespace nx5rb::cli
