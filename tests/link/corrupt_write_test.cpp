// A radio that stores a block wrongly yet acknowledges it: the tool cannot tell from the link.
#include "link_harness.h"

#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

struct CorruptCase
{
    int corruptWrite;
    bool repeat;
    int wrongAfterFirst; // bytes the radio holds wrongly after the first write-all
    int wrongAfterSecond; // and after a second one
};

class CorruptWrite : public ::testing::TestWithParam<CorruptCase>
{
};

// Every byte where the radio's memory differs from the tool's image over the blocks a write-all
// moves; outside them the radio keeps its own bytes anyway.
std::vector<mm::Address> WrongBytes(LinkHarness &h)
{
    std::vector<mm::Address> wrong;
    for (const FrameRecord &frame : h.radioPort.Radio().FrameLog())
        if (frame.Kind == FrameKind::Write)
            for (mm::Address at = frame.Address; at < frame.Address + mm::kBlockSize; ++at)
                if (h.radioPort.Radio().Memory()[at] != h.state.Image[at])
                    wrong.push_back(at);
    return wrong;
}

TEST_P(CorruptWrite, StoresOneByteWronglyAndStillAcknowledges)
{
    const CorruptCase &c = GetParam();
    LinkHarness h;
    h.radioPort.Radio().Faults.CorruptWrite = c.corruptWrite;
    h.radioPort.Radio().Faults.Repeat = c.repeat;

    h.Run(TransferCommand::WriteAll);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    EXPECT_EQ(h.prompt.Shown.size(), 1u) << "only the confirmation";
    std::vector<mm::Address> wrong = WrongBytes(h);
    ASSERT_EQ(int(wrong.size()), c.wrongAfterFirst);
    if (!wrong.empty()) {
        // The fourth data byte of the n-th block written, two below what the tool sent.
        const FrameRecord *written = nullptr;
        int writes = 0;
        for (const FrameRecord &frame : h.radioPort.Radio().FrameLog())
            if (frame.Kind == FrameKind::Write && ++writes == c.corruptWrite)
                written = &frame;
        ASSERT_NE(written, nullptr);
        EXPECT_EQ(wrong[0], written->Address + radio_frame::kCorruptedByte);
        EXPECT_EQ(std::uint8_t(h.state.Image[wrong[0]] - h.radioPort.Radio().Memory()[wrong[0]]),
                  radio_frame::kCorruptionDrop);
    }

    h.radioPort.Radio().ClearFrameLog();
    h.Run(TransferCommand::WriteAll);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    EXPECT_EQ(int(WrongBytes(h).size()), c.wrongAfterSecond);
}

// A write-all moves 20 blocks.
// A write-all moves 20 blocks.
INSTANTIATE_TEST_SUITE_P(Knobs, CorruptWrite,
                         ::testing::Values(CorruptCase {20, false, 1, 0},
                                           CorruptCase {21, false, 0, 0},
                                           CorruptCase {7, true, 1, 1}));

} // namespace
} // namespace nx5rb::test
