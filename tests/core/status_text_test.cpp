// The status line's words for the transfer outcomes the window cannot yet bring about against the
// virtual radio (the widget tests cover the others through the session).
#include "app/status_text.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

TEST(TransferStatusText, WritesThatSentFewerBlocksThanTheirRegionOrNone)
{
    using Check = TransferReport::Check;
    const struct
    {
        TransferReport report;
        std::string text;
    } cases[] = {
        // Only the blocks that differ from the radio went out, and were read back.
        {{TransferOutcome::Completed, false, 3, 3, 128, Check::Verified, 0.44},
         "写入 3/128 块（其余与电台相同），已校验 (0.4 秒)"},
        // The look at the radio before the write failed: nothing went out.
        {{TransferOutcome::Abandoned, false, 0, 0, 0, Check::None, 1.2}, "写入失败"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TransferStatusText(c.report), c.text);
}

} // namespace
} // namespace nx5rb
