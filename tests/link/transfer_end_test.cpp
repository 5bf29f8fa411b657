// What a transfer leaves behind when it ends: a write is not taken in as if it had been a read, and
// an idle link has no timer running.
#include "link_harness.h"

#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

// A write neither decodes the pages anew nor repairs the image as a completed read does: a list
// choice made on the frequency-area page and not yet applied is still there to apply after a
// write of another region, and the image is what went out, even where a read would repair it.
TEST(TransferEnd, AWriteKeepsAChoiceNotYetAppliedAndTheImageItSent)
{
    for (const bool verify : {false, true})
        for (const TransferCommand command :
             {TransferCommand::WriteA, TransferCommand::WriteChannelInfo}) {
            SCOPED_TRACE(std::string(RegionName(command))
                         + (verify ? ", verified" : ", unchecked"));
            LinkHarness h;
            h.session.Options().verify = verify;
            const std::uint8_t chosen = h.state.Image[mm::kWorkChannel] == 0x37 ? 0xFF : 0x37;
            h.state.WorkChannel[0] = chosen;
            h.state.Image[mm::kSettingsMarker] = std::uint8_t(~mm::kSettingsMarkerValue);
            const RadioImage before = h.state.Image;
            h.Run(command);
            ASSERT_EQ(h.link.Outcome(), TransferOutcome::Completed);
            EXPECT_EQ(h.state.WorkChannel[0], chosen);
            EXPECT_TRUE(h.state.ChangesPending());
            EXPECT_EQ(h.state.Image, before);
        }
}

// The reply time-out and the entry poll stop with the transfer, however it ended.
TEST(TransferEnd, NoLinkTimerRunsOnceATransferHasEnded)
{
    struct Ending
    {
        const char *what;
        TransferCommand command;
        PromptAnswer confirmation;
    };
    for (const Ending &ending :
         {Ending {"completed read", TransferCommand::ReadA, PromptAnswer::Ok},
          Ending {"completed write", TransferCommand::WriteB, PromptAnswer::Ok},
          Ending {"not confirmed", TransferCommand::ReadAll, PromptAnswer::Cancel}}) {
        SCOPED_TRACE(ending.what);
        LinkHarness h({ending.confirmation});
        h.Run(ending.command);
        ASSERT_EQ(h.link.LinkState(), LinkPhase::Idle);
        EXPECT_FALSE(h.timer1.enabled);
        EXPECT_FALSE(h.timer2.enabled);
    }
}

} // namespace
} // namespace nx5rb::test
