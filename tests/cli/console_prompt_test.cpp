// The command line's answers to the questions of its session: only what it was told.
#include "cli/console_prompt.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace nx5rb::cli {
namespace {

TEST(ConsolePrompt, AnswersOnlyWhatTheCommandGaveIt)
{
    std::ostringstream err;
    ConsolePrompt prompt(err, "/dev/ttyUSB0", {.retries = 1, .confirmed = {"读取全部？"}});
    const auto ask = [&prompt](const char *text, PromptButtons buttons) {
        return prompt.Show({text, "警告", buttons, PromptIcon::Warning});
    };
    const struct
    {
        const char *text;
        PromptButtons buttons;
        PromptAnswer answer;
        const char *said; // what the error stream gets, empty for nothing
    } steps[] = {
        {"读取全部？", PromptButtons::OkCancel, PromptAnswer::Ok, ""},
        // A question the command was not told about is declined, and said.
        {"覆盖当前数据？", PromptButtons::OkCancel, PromptAnswer::Cancel,
         "nx5rb-cli: /dev/ttyUSB0: 覆盖当前数据？\n"},
        {"检测连接！重试或取消？", PromptButtons::RetryCancel, PromptAnswer::Retry,
         "nx5rb-cli: /dev/ttyUSB0: 检测连接！重试或取消？\nnx5rb-cli: retry 1\n"},
        {"检测连接！重试或取消？", PromptButtons::RetryCancel, PromptAnswer::Cancel,
         "nx5rb-cli: /dev/ttyUSB0: 检测连接！重试或取消？\n"},
        {"是否保存？", PromptButtons::YesNoCancel, PromptAnswer::Cancel, ""},
    };
    for (const auto &step : steps) {
        err.str("");
        EXPECT_EQ(ask(step.text, step.buttons), step.answer) << step.text;
        EXPECT_EQ(err.str(), step.said) << step.text;
    }
    EXPECT_EQ(prompt.RetriesTaken(), 1);
}

} // namespace
} // namespace nx5rb::cli
