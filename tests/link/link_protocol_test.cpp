// The link's handshake, retries, failure prompts and what a read leaves in the image.
#include "image/memory_map.h"
#include "link_harness.h"

#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

constexpr std::string_view kCheck = "检测连接！重试或取消？";
constexpr std::string_view kCheckTimeout = "检测连接！重新或取消？";

int CountEntries(const TapPort &port)
{
    const Bytes entry = {'R', 'D', 'Q', '4', '7', '1', '6'};
    int count = 0;
    for (const Bytes &frame : port.sent)
        count += frame == entry;
    return count;
}

bool IsConnectionPrompt(const PromptMessage &message, std::string_view text)
{
    return message.text == text && message.title == "错误"
        && message.buttons == PromptButtons::RetryCancel && message.icon == PromptIcon::Error;
}

// Starts a read of everything but keeps the radio out of it, for tests that play the radio.
void StartSilentRead(LinkHarness &h)
{
    h.port.silenced = true;
    h.session.RunTransfer(TransferCommand::ReadAll);
    ASSERT_EQ(h.link.LinkState(), LinkPhase::EntrySent);
}

TEST(LinkHandshake, EntryReplyAcceptedByReceiveHandlerOrOnlyByThePoll)
{
    {
        LinkHarness h;
        StartSilentRead(h);
        h.port.Inject({0x00, 0x06, 0x31});
        EXPECT_EQ(h.link.LinkState(), LinkPhase::BandInfoAsked);
        EXPECT_EQ(h.port.sent.back(), Bytes {0x02});
        EXPECT_FALSE(h.timer2.enabled);
    }
    {
        // Two bytes never reach the threshold of three; the poll finds them.
        LinkHarness h;
        StartSilentRead(h);
        h.port.Inject({0x06, 0x31});
        EXPECT_EQ(h.link.LinkState(), LinkPhase::EntrySent);
        h.timer2.Fire();
        EXPECT_EQ(h.link.LinkState(), LinkPhase::BandInfoAsked);
    }
    {
        // A poll with one byte waiting does nothing.
        LinkHarness h;
        StartSilentRead(h);
        h.port.Inject({0x06});
        h.timer2.Fire();
        EXPECT_EQ(h.link.LinkState(), LinkPhase::EntrySent);
        EXPECT_EQ(h.link.RetryCount(), 0);
    }
    for (const Bytes &wrong : {Bytes {0x00, 0x06, 0x33}, Bytes {0x00, 0x15, 0x31}}) {
        LinkHarness h;
        StartSilentRead(h);
        h.port.Inject(wrong);
        EXPECT_EQ(h.link.LinkState(), LinkPhase::EntrySent) << "refused and resent";
        EXPECT_EQ(h.link.RetryCount(), 1);
        EXPECT_EQ(CountEntries(h.port), 2);
    }
}

TEST(LinkHandshake, EleventhWrongEntryReplyAsksTheUser)
{
    LinkHarness h({PromptAnswer::Ok, PromptAnswer::Cancel});
    StartSilentRead(h);
    for (int i = 0; i < 10; ++i)
        h.port.Inject({0x00, 0x06, 0x39});
    EXPECT_EQ(h.link.RetryCount(), 10);
    EXPECT_EQ(h.prompt.Shown.size(), 1u); // only the confirmation so far
    h.port.Inject({0x00, 0x06, 0x39});
    ASSERT_EQ(h.prompt.Shown.size(), 2u);
    EXPECT_TRUE(IsConnectionPrompt(h.prompt.Shown[1], kCheck));
    // Cancel abandons: port closed, idle, and a late byte changes nothing.
    EXPECT_EQ(h.link.RetryCount(), 0);
    EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
    EXPECT_FALSE(h.port.PortOpen());
    EXPECT_FALSE(h.timer1.enabled);
    EXPECT_FALSE(h.timer2.enabled);
    EXPECT_FALSE(h.link.Progress().visible);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Abandoned);
    h.link.MSComm1_OnComm(CommEvent::Receive);
    EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
}

TEST(LinkHandshake, FourthTimeoutAsksTheUserAndRetryCountCarriesOver)
{
    LinkHarness h({PromptAnswer::Ok, PromptAnswer::Retry});
    h.radioPort.Radio().Faults.NeverAnswerEntry = true;
    h.radioPort.Radio().Faults.Repeat = true;
    h.session.RunTransfer(TransferCommand::ReadA);
    EXPECT_EQ(h.timer1.interval, 1000);
    EXPECT_EQ(h.timer2.interval, 100);
    for (int i = 0; i < 3; ++i) {
        h.Pump();
        h.timer1.Fire();
    }
    EXPECT_EQ(h.link.RetryCount(), 3);
    EXPECT_EQ(CountEntries(h.port), 4);
    EXPECT_EQ(h.prompt.Shown.size(), 1u);
    h.timer1.Fire();
    ASSERT_EQ(h.prompt.Shown.size(), 2u);
    EXPECT_TRUE(IsConnectionPrompt(h.prompt.Shown[1], kCheckTimeout));
    EXPECT_FALSE(h.link.PromptShown());

    // Retry resent the entry; the radio answers now, after two more silences.
    EXPECT_EQ(h.link.RetryCount(), 0);
    h.timer1.Fire();
    h.timer1.Fire();
    EXPECT_EQ(h.link.RetryCount(), 2);
    h.radioPort.Radio().Faults = RadioFaults();
    h.timer1.Fire(); // the third time-out resends, and this time the radio answers
    h.Pump();
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    // A successful handshake does not reset the count: the next transfer starts from 3.
    EXPECT_EQ(h.link.RetryCount(), 3);

    h.radioPort.Radio().Faults.NeverAnswerEntry = true;
    h.prompt.Shown.clear();
    h.session.RunTransfer(TransferCommand::ReadA);
    h.Pump();
    h.timer1.Fire();
    ASSERT_EQ(h.prompt.Shown.size(), 2u) << "the first time-out of the new transfer asks at once";
    EXPECT_TRUE(IsConnectionPrompt(h.prompt.Shown[1], kCheckTimeout));
}

struct RetryCase
{
    const char *range;
    TransferCommand command;
    void (*arm)(RadioFaults &);
};

// Retry starts the command's transfer again from its first block, so that a failure anywhere
// ends, once answered, with what a transfer without it gives: the radio's memory after a write,
// the image after a read. Never half a tune region, never a mix of two reads.
TEST(LinkFailures, RetryEndsAsAFaultlessTransferWouldInEveryRange)
{
    const RetryCase cases[] = {
        {"area, write", TransferCommand::WriteAll, [](RadioFaults &f) { f.NakOnWrite = 2; }},
        {"tune, write", TransferCommand::WriteAll, [](RadioFaults &f) { f.NakOnWrite = 5; }},
        {"settings, write", TransferCommand::WriteAll, [](RadioFaults &f) { f.NakOnWrite = 17; }},
        {"band start, write", TransferCommand::WriteAll, [](RadioFaults &f) { f.NakOnWrite = 19; }},
        {"band A, write", TransferCommand::WriteA, [](RadioFaults &f) { f.NakOnWrite = 5; }},
        {"message, write", TransferCommand::WriteOption, [](RadioFaults &f) { f.NakOnWrite = 3; }},
        {"channels, write", TransferCommand::WriteChannelInfo,
         [](RadioFaults &f) { f.NakOnWrite = 70; }},
        {"area, read", TransferCommand::ReadAll, [](RadioFaults &f) { f.WrongAddress = 2; }},
        {"tune, read", TransferCommand::ReadAll, [](RadioFaults &f) { f.BadReplyByte = 6; }},
        {"settings, read", TransferCommand::ReadAll, [](RadioFaults &f) { f.WrongAddress = 16; }},
        {"band C, read", TransferCommand::ReadC, [](RadioFaults &f) { f.StallAfter = 9; }},
        {"message, read", TransferCommand::ReadOption, [](RadioFaults &f) { f.BadReplyByte = 3; }},
        {"channels, read", TransferCommand::ReadChannelInfo,
         [](RadioFaults &f) { f.WrongAddress = 90; }},
    };
    for (const RetryCase &c : cases) {
        SCOPED_TRACE(c.range);
        LinkHarness faultless;
        faultless.Run(c.command);
        ASSERT_EQ(faultless.link.Outcome(), TransferOutcome::Completed);

        LinkHarness h({PromptAnswer::Ok, PromptAnswer::Retry});
        c.arm(h.radioPort.Radio().Faults);
        h.Run(c.command);
        if (h.link.LinkState() != LinkPhase::Idle)
            h.timer1.Fire(); // a radio that went silent
        h.Pump();
        ASSERT_EQ(h.prompt.Shown.size(), 2u);
        EXPECT_TRUE(IsConnectionPrompt(h.prompt.Shown[1], kCheck));
        EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
        if (IsRead(c.command))
            EXPECT_EQ(h.state.Image, faultless.state.Image);
        else
            EXPECT_EQ(h.radioPort.Radio().Memory(), faultless.radioPort.Radio().Memory());
    }
}

// While "检测连接！重试或取消？" is open, a reply that comes late must not carry the transfer on
// behind the box: the answer alone decides.
TEST(LinkFailures, TheLinkWaitsForTheAnswerToItsQuestion)
{
    LinkHarness h({PromptAnswer::Ok, PromptAnswer::Retry});
    h.session.RunTransfer(TransferCommand::ReadOption);
    h.radioPort.DeliverPending(); // the entry reply: the band information is asked for
    h.radioPort.DeliverPending(); // the band information: the first block is asked for
    ASSERT_EQ(h.link.LinkState(), LinkPhase::ReadRequested);
    int timersRunning = 0;
    int blocksBehindTheBox = 0;
    h.prompt.WhileShown = [&](const PromptMessage &) {
        timersRunning = h.timer1.enabled + h.timer2.enabled;
        const int asked = h.radioPort.Radio().BlocksRead();
        h.Pump(); // the late reply, and whatever would follow it
        h.timer1.Fire();
        h.timer2.Fire();
        blocksBehindTheBox = h.radioPort.Radio().BlocksRead() - asked;
    };
    h.timer1.Fire(); // the block's reply is late: the question opens
    EXPECT_EQ(timersRunning, 0);
    EXPECT_EQ(blocksBehindTheBox, 0);
    h.prompt.WhileShown = nullptr;
    h.Pump();
    h.timer1.Fire();
    ASSERT_EQ(h.prompt.Shown.size(), 2u) << "asked once, and not again after it succeeded";
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    EXPECT_EQ(h.radioPort.Radio().SessionsCompleted(), 1);
    EXPECT_EQ(PowerOnLineText(h.state.PowerOnView, 1), "VER 1.03016/09");
}

// The cable goes while the end frame is sent: the port closes at once and reports the loss from
// the event loop. The read must not complete in between (the command line would save it).
TEST(LinkFailures, DeviceLostWhileSendingTheEndFrameNeverCompletes)
{
    for (const TransferCommand command : {TransferCommand::ReadOption, TransferCommand::WriteA}) {
        SCOPED_TRACE(int(command));
        LinkHarness h;
        h.port.loseDeviceOnEnd = true;
        const RadioImage before = h.state.Image;
        std::vector<TransferOutcome> ends;
        h.link.OnFinished = [&](const TransferResult &result) {
            ends.push_back(result.outcome);
            h.state.FinishTransfer(result);
        };
        h.Run(command);
        h.link.MSComm1_OnComm(CommEvent::DeviceLost); // the port's report arrives
        EXPECT_EQ(ends, std::vector<TransferOutcome> {TransferOutcome::Abandoned});
        EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
        ASSERT_EQ(h.prompt.Shown.size(), 2u) << "reported once";
        EXPECT_TRUE(h.prompt.Shown[1].text.starts_with("连接中断！"));
        if (IsRead(command)) {
            EXPECT_EQ(h.state.Image, before);
        }
    }
}

struct ReadFault
{
    const char *name;
    void (*arm)(RadioFaults &);
    bool needsTimeout; // the radio goes silent instead of answering wrongly
};

TEST(LinkFailures, EveryReadFaultAsksAndLeavesTheImageAsItWas)
{
    const ReadFault faults[] = {
        {"bad first byte", [](RadioFaults &f) { f.BadReplyByte = 3; }, false},
        {"other address", [](RadioFaults &f) { f.WrongAddress = 2; }, false},
        {"stall", [](RadioFaults &f) { f.StallAfter = 4; }, true},
    };
    for (const ReadFault &fault : faults) {
        SCOPED_TRACE(fault.name);
        LinkHarness h({PromptAnswer::Ok, PromptAnswer::Cancel});
        fault.arm(h.radioPort.Radio().Faults);
        const RadioImage before = h.state.Image;
        const auto areaCells = h.state.FreqAreaView.Grids;
        h.Run(TransferCommand::ReadAll);
        if (fault.needsTimeout) {
            EXPECT_EQ(h.link.LinkState(), LinkPhase::ReadRequested)
                << "waiting for a reply that does not come";
            h.timer1.Fire();
        }
        ASSERT_EQ(h.prompt.Shown.size(), 2u);
        EXPECT_TRUE(IsConnectionPrompt(h.prompt.Shown[1], kCheck));
        EXPECT_EQ(h.link.Outcome(), TransferOutcome::Abandoned);
        EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
        EXPECT_FALSE(h.port.PortOpen());
        EXPECT_EQ(h.state.Image, before) << "not even the band information may land";
        EXPECT_EQ(h.state.FreqAreaView.Grids, areaCells);
    }
}

TEST(LinkFailures, RetryAfterABadReplyCompletesTheRead)
{
    LinkHarness h({PromptAnswer::Ok, PromptAnswer::Retry});
    h.radioPort.Radio().Faults.WrongAddress = 2;
    h.Run(TransferCommand::ReadAll);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    // The fault hit the area range, before WantAll was consumed, so the retry reads everything
    // again; the radio's tune blocks are now in the image.
    const RadioImage &radio = h.radioPort.Radio().Memory();
    EXPECT_TRUE(
        std::equal(radio.begin() + 0xEC0, radio.begin() + 0xFB0, h.state.Image.begin() + 0xEC0));
}

TEST(LinkFailures, PortThatCannotBeOpenedSendsNothing)
{
    // Without rights to the device the message also says how to get them.
    const struct
    {
        const char *hint;
        const char *text;
    } cases[] = {{"", "请重新选择端口！"}, {"join dialout", "请重新选择端口！\njoin dialout"}};
    for (const auto &c : cases) {
        LinkHarness h;
        h.radioPort.SetOpenFails("device busy", c.hint);
        h.session.RunTransfer(TransferCommand::ReadAll);
        ASSERT_EQ(h.prompt.Shown.size(), 2u);
        EXPECT_EQ(h.prompt.Shown[1].text, c.text);
        EXPECT_EQ(h.prompt.Shown[1].title, "端口错误");
        EXPECT_EQ(h.prompt.Shown[1].icon, PromptIcon::Error);
        EXPECT_TRUE(h.port.sent.empty());
        EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
        EXPECT_EQ(h.link.LastPortError(), "device busy");
        EXPECT_EQ(h.link.Outcome(), TransferOutcome::NotStarted);
    }
}

TEST(LinkFailures, PulledCableAbandonsWithAMessage)
{
    LinkHarness h;
    h.session.RunTransfer(TransferCommand::ReadChannelInfo);
    for (int i = 0; i < 10; ++i)
        h.radioPort.DeliverPending();
    const RadioImage before = h.state.Image;
    h.radioPort.SimulateDeviceLost();
    EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Abandoned);
    ASSERT_EQ(h.prompt.Shown.size(), 2u);
    EXPECT_TRUE(h.prompt.Shown[1].text.starts_with("连接中断！\n")) << "the reason on its own line";
    EXPECT_EQ(h.prompt.Shown[1].icon, PromptIcon::Error);
    EXPECT_FALSE(h.timer1.enabled);
    EXPECT_EQ(h.state.Image, before);
}

TEST(LinkReads, BandBReadAlsoReplacesBandASettingsAndTheAreaBlock)
{
    LinkHarness h;
    RadioImage &radio = h.radioPort.Radio().Memory();
    radio[0xF80] = 0x07; // band A setting 1, within range so no repair touches it
    radio[0xF8A] = 0x5A; // a byte the views do not show
    radio[0xF00] = 0x44; // band A's tune block is not part of a band B read
    radio[0xD10 + 8] = 0x41; // band B tuning frequency 410, from the band information
    h.Run(TransferCommand::ReadB);
    EXPECT_EQ(h.state.Image[0xF80], 0x07);
    EXPECT_EQ(h.state.Image[0xF8A], 0x5A);
    EXPECT_NE(h.state.Image[0xF00], 0x44);
    EXPECT_EQ(h.state.Image[0xD18], 0x41);
    EXPECT_EQ(h.state.TuneViews[1].Tune.Text(0, 1), "410");
    EXPECT_EQ(h.state.ModulationViews[0].Response[0], "7");
}

TEST(LinkReads, CompletedReadRepairsAndAdjustsByte9)
{
    LinkHarness h;
    RadioImage &radio = h.radioPort.Radio().Memory();
    radio[0xF89] = 0x89;
    radio[0xF99] = 0x89;
    radio[0xF82] = 0xFF;
    radio[0xF9F] = 0x00;
    h.Run(TransferCommand::ReadAll);
    EXPECT_EQ(h.state.Image[0xF99], 0x3B);
    EXPECT_EQ(h.state.Image[0xF82], 0x03);
    EXPECT_EQ(h.state.Image[0xF83], 0xE8);
    EXPECT_EQ(h.state.Image[0xF9F], 0x58);
}

TEST(LinkCommands, CancelledConfirmationSendsNothingAndLeavesThePortClosed)
{
    LinkHarness h({PromptAnswer::Cancel});
    h.state.DataChanged = true;
    h.state.FreqAreas[0].RxLow = 140;
    const RadioImage before = h.state.Image;
    h.session.RunTransfer(TransferCommand::WriteA);
    EXPECT_TRUE(h.port.sent.empty());
    EXPECT_EQ(h.port.opens, 0);
    EXPECT_EQ(h.state.Image, before) << "no refresh without a transfer";
    EXPECT_TRUE(h.state.DataChanged);
}

TEST(LinkCommands, WriteAllAlwaysRefreshesAndKeepsTheWindowBusyEvenWhenCancelled)
{
    {
        LinkHarness h({PromptAnswer::Cancel});
        h.session.RunTransfer(TransferCommand::WriteAll);
        EXPECT_TRUE(h.state.DataChanged) << "set before the answer was known";
        EXPECT_EQ(h.pump.pauses, std::vector<int> {2000});
        EXPECT_TRUE(h.state.ChangesPending());
    }
    {
        LinkHarness h;
        h.state.FreqAreas[1].RxLow = 410; // an edit nobody applied, without DataChanged
        h.Run(TransferCommand::WriteAll);
        EXPECT_FALSE(h.state.DataChanged);
        EXPECT_EQ(h.radioPort.Radio().Memory()[0xD10], 0x41);
        EXPECT_EQ(h.radioPort.Radio().Memory()[0xD11], 0x00);
    }
}

TEST(LinkCommands, AreaWriteRefreshesOnlyWhenSomethingChanged)
{
    {
        // Unchanged lists and no edits: the image goes out as it stands, stale edits included.
        LinkHarness h;
        h.state.FreqAreas[0].RxHigh = 170; // not applied, and DataChanged is clear
        h.Run(TransferCommand::Write);
        EXPECT_EQ(h.radioPort.Radio().Memory()[0xD02], 0x17);
        EXPECT_EQ(h.radioPort.Radio().Memory()[0xD03], 0x50);
    }
    {
        // A changed band-combination list alone is enough to apply everything first.
        LinkHarness h;
        h.state.FreqAreas[0].RxHigh = 170;
        ComboSelFreqArea_Click(h.state, h.state.FreqAreaView, 5);
        h.Run(TransferCommand::Write);
        const RadioImage &radio = h.radioPort.Radio().Memory();
        EXPECT_EQ(radio[0xD0A], 0x8C);
        EXPECT_EQ(radio[0xD02], 0x17);
        EXPECT_EQ(radio[0xD03], 0x00);
        // Band B + C: record 0 starts band B, record 1 band C.
        EXPECT_EQ(radio[0x810], 0x40);
        EXPECT_EQ(radio[0x820], 0x20);
    }
}

TEST(LinkCommands, RegionWriteAppliesPendingEditsFirst)
{
    LinkHarness h;
    h.state.TuneBuffer[0] = 99; // sensitivity of band A, point 1
    h.state.DataChanged = true;
    h.Run(TransferCommand::WriteA);
    EXPECT_EQ(h.radioPort.Radio().Memory()[0xF00], 99);
    EXPECT_FALSE(h.state.DataChanged);
}

TEST(LinkCommands, NewCommandAbandonsTheRunningTransfer)
{
    LinkHarness h;
    h.session.RunTransfer(TransferCommand::ReadChannelInfo);
    h.radioPort.DeliverPending();
    h.radioPort.DeliverPending();
    EXPECT_NE(h.link.LinkState(), LinkPhase::Idle);
    const int closesBefore = h.port.closes;
    std::vector<TransferResult> ended;
    h.link.OnFinished = [&ended, forward = h.link.OnFinished](const TransferResult &result) {
        ended.push_back(result);
        forward(result);
    };
    // The window locks its buttons while a transfer runs; the link itself still abandons one.
    h.link.Start(CommandRequest(TransferCommand::ReadOption));
    h.Pump();
    ASSERT_EQ(ended.size(), 2u);
    EXPECT_EQ(ended[0].outcome, TransferOutcome::Abandoned);
    EXPECT_TRUE(ended[0].read) << "the abandoned channel read is reported as the read it was";
    EXPECT_EQ(h.port.closes, closesBefore + 2) << "closed by the abandon, then by the end";
    EXPECT_EQ(h.port.opens, 2);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    // The message page now shows the radio's lines.
    EXPECT_EQ(PowerOnLineText(h.state.PowerOnView, 1), "VER 1.03016/09");
}

} // namespace
} // namespace nx5rb::test
