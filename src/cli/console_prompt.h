// Message boxes on a terminal, answered as the command was told to: the confirmations it was given
// with OK, any other OK/Cancel question with Cancel, connection prompts with Retry while retries
// are left and then with Cancel; every message but a given confirmation is written to the error
// stream, one line each.
#pragma once

#include "link/prompt.h"

#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

// The answers a command gives to the questions of its session.
struct ConsoleAnswers
{
    // Connection questions ("检测连接！重试或取消？") answered with Retry before one gets Cancel.
    int retries = 0;
    // The OK/Cancel questions answered with OK, by their text: the command's own confirmation,
    // "覆盖当前数据？" of the file it opens.
    std::vector<std::string> confirmed;
};

class ConsolePrompt final : public Prompt
{
public:
    // `context` (a file name, a port) is put before every message.
    explicit ConsolePrompt(std::ostream &err, std::string context = {}, ConsoleAnswers answers = {})
        : err_(err)
        , context_(std::move(context))
        , confirmed_(std::move(answers.confirmed))
        , retriesLeft_(answers.retries)
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
    std::vector<std::string> confirmed_;
    int retriesLeft_ = 0;
    int retriesTaken_ = 0;
};

} // namespace nx5rb::cli
