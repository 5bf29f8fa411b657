#include "cli/console_prompt.h"

#include "link/link_protocol.h"

#include <algorithm>
#include <cstdint>

namespace nx5rb::cli {

namespace {

// A message box's lines as one line: a line ending in full-width punctuation ("保存失败：") runs
// straight on, any other is followed by a space.
std::string OneLine(const std::string &text)
{
    std::string line;
    for (char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        // Full-width punctuation (U+FF01..U+FF1F) ends in the UTF-8 bytes EF BC xx.
        const bool fullWidth = line.size() >= 3 && std::uint8_t(line[line.size() - 3]) == 0xEF
            && std::uint8_t(line[line.size() - 2]) == 0xBC;
        if (!fullWidth && !line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

} // namespace

void ConsolePrompt::Report(const PromptMessage &message)
{
    err_ << "nx5rb-cli: ";
    if (!context_.empty())
        err_ << context_ << ": ";
    err_ << OneLine(message.text) << "\n";
}

PromptAnswer ConsolePrompt::Show(const PromptMessage &message)
{
    switch (message.buttons) {
    case PromptButtons::OkCancel:
        if (std::find(confirmed_.begin(), confirmed_.end(), message.text) != confirmed_.end())
            return PromptAnswer::Ok;
        Report(message);
        return PromptAnswer::Cancel;
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
    // A port that does not open is reported by the command itself, with the system's reason.
    if (message.title == link_text::kPortErrorTitle)
        return PromptAnswer::Ok;
    Report(message);
    return PromptAnswer::Ok;
}

} // namespace nx5rb::cli
