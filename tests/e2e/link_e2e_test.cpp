// The tool's real link stack (port object on a device path, Qt timers, the event loop) against
// nx5rb-sim on a pseudo-terminal: what the pages show after a read, and what the radio holds
// after a write.
#include "app/file_commands.h"
#include "cli/page_export.h"
#include "e2e_rig.h"
#include "editors/channel_view.h"
#include "editors/freq_area_view.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace nx5rb::test {
namespace {

int Lines(const std::string &text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

class LinkEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The memory the radio starts with, as the program serves it.
        const ProgramRun exported = RunProgram(kSimProgram, {"--export", factoryPath});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        factory = ReadImage(factoryPath);
        sim = std::make_unique<SimRadio>(radioPath);
        ASSERT_FALSE(sim->Terminal().empty()) << sim->Log();
        tool = std::make_unique<ToolRig>(sim->Terminal());
    }

    void TearDown() override
    {
        tool.reset();
        sim.reset();
    }

    // Stops the radio; it saves its memory on the way out.
    RadioImage StopRadio()
    {
        EXPECT_EQ(sim->Stop(), 0) << sim->Log();
        return ReadImage(radioPath);
    }

    // The only boxes shown were the confirmations, each with its warning.
    void ExpectCompletedWithoutMessages(std::vector<std::string> confirmationTexts)
    {
        EXPECT_EQ(tool->link.Outcome(), TransferOutcome::Completed);
        std::vector<PromptMessage> confirmations;
        for (const std::string &text : confirmationTexts)
            confirmations.push_back({text, "警告", PromptButtons::OkCancel, PromptIcon::Warning});
        EXPECT_EQ(tool->prompt.Shown, confirmations);
        EXPECT_FALSE(tool->port.PortOpen());
        EXPECT_FALSE(tool->link.Progress().visible);
    }

    TempFolder folder;
    const std::string factoryPath = folder.Path("factory.dat");
    const std::string radioPath = folder.Path("radio.dat");
    RadioImage factory {};
    const WindowState startUp;
    std::unique_ptr<SimRadio> sim;
    std::unique_ptr<ToolRig> tool;
};

TEST_F(LinkEndToEnd, ReadAllShowsTheRadiosCalibrationAndLeavesTheRestAlone)
{
    ASSERT_TRUE(tool->Run(TransferCommand::ReadAll));
    ExpectCompletedWithoutMessages({"读取全部？"});
    const WindowState &state = tool->state;

    // Band A's tune page shows the radio's table, no longer the tool's own defaults.
    const mm::Address tuneA = mm::kTuneBlock[0];
    const TuneCells &page = state.TuneViews[0];
    EXPECT_NE(page.Tune, startUp.TuneViews[0].Tune);
    for (int point = 0; point < kTunePoints; ++point) {
        SCOPED_TRACE(point);
        EXPECT_EQ(page.Tune.Text(1, point + 1),
                  std::to_string(factory[tuneA + mm::kTuneSensitivity + point]));
        EXPECT_EQ(page.Tune.Text(2, point + 1),
                  std::to_string(factory[tuneA + mm::kTuneLowPower + point]));
        EXPECT_EQ(page.Tune.Text(3, point + 1),
                  std::to_string(factory[tuneA + mm::kTuneHighPower + point]));
    }
    for (int column = 0; column < kSquelchColumns; ++column) {
        SCOPED_TRACE(column);
        const mm::Address pair = tuneA + mm::kTuneSquelch + 2 * column;
        EXPECT_EQ(page.Squelch.Text(1, column + 1), std::to_string(factory[pair]));
        EXPECT_EQ(page.Squelch.Text(2, column + 1), std::to_string(factory[pair + 1]));
    }
    EXPECT_TRUE(std::equal(state.TuneBuffer.begin(), state.TuneBuffer.begin() + mm::kTuneBlockSize,
                           factory.begin() + tuneA));

    // Channels and the power-on message are not part of "all".
    EXPECT_EQ(MovedOnly(state.Image, factory, startUp.Image,
                        {{mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd},
                         {mm::kTuneRegionStart, mm::kTuneRegionEnd}}),
              "");
    // A read leaves the radio as it was.
    EXPECT_EQ(MovedOnly(StopRadio(), factory, factory, {}), "");
}

TEST_F(LinkEndToEnd, WriteAllAfterEditingALimitPutsTheEditedBlocksInTheRadio)
{
    WindowState &state = tool->state;
    // Band A's lower receive limit, typed into its cell and committed as the page does; the
    // band-start record follows it.
    ASSERT_TRUE(FreqAreaGridClick(state, state.FreqAreaView, 0, 1, 1).kind == EditorKind::Text);
    FreqAreaCommit(state, state, state.FreqAreaView, 0, "140");
    ASSERT_TRUE(state.DataChanged);

    ASSERT_TRUE(tool->Run(TransferCommand::WriteAll));
    ExpectCompletedWithoutMessages({"全部写入？"});
    EXPECT_FALSE(state.DataChanged);

    const RadioImage radio = StopRadio();
    EXPECT_EQ(MovedOnly(radio, state.Image, factory,
                        {{mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd},
                         {mm::kTuneRegionStart, mm::kTuneRegionEnd},
                         {mm::kBandStartRecord0, mm::kBandStartEnd}}),
              "");
    // Every range really moved: each now differs from what the radio held before.
    EXPECT_NE(Difference(radio, factory, {mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd}), "");
    EXPECT_NE(Difference(radio, factory, {mm::kTuneRegionStart, mm::kTuneRegionEnd}), "");
    EXPECT_NE(Difference(radio, factory, {mm::kBandStartRecord0, mm::kBandStartEnd}), "");

    // A tool that opens what the radio now holds shows the edited limit.
    WindowState reopened;
    RecordingPrompt prompt;
    ASSERT_EQ(OpenDataFile(reopened, radioPath, prompt), OpenResult::Opened);
    EXPECT_EQ(reopened.FreqAreas[0].RxLow, 140);
    EXPECT_EQ(reopened.FreqAreaView.Grids[0].Text(1, 1), "140");
}

TEST_F(LinkEndToEnd, ReadChannelsShowsTheGridThatTheRadiosFileShows)
{
    ASSERT_TRUE(tool->Run(TransferCommand::ReadChannelInfo));
    ExpectCompletedWithoutMessages({"读取信道信息？"});
    const WindowState &state = tool->state;
    EXPECT_NE(state.ChannelView.Grid, startUp.ChannelView.Grid);

    StopRadio();
    const ProgramRun exported = RunProgram(kCliProgram, {"export-channels", radioPath});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_GT(Lines(exported.out), 1) << "the radio holds channels";
    EXPECT_EQ(cli::ChannelCsv(state), exported.out);
    // Besides the band information that starts every read, only the channel table moved.
    EXPECT_EQ(MovedOnly(state.Image, factory, startUp.Image,
                        {{mm::kChannelTableStart, mm::kChannelTableEnd},
                         {mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd}}),
              "");
}

TEST_F(LinkEndToEnd, WriteChannelsAfterChangingARecordByteWritesTheWholeTable)
{
    ASSERT_TRUE(tool->Run(TransferCommand::ReadChannelInfo));
    // The first channel leaves the scan list.
    const mm::Address flags = mm::ChannelRecord(1) + mm::kChFlags;
    tool->state.Image[flags] ^= mm::kFlagScan;

    // The port was closed after the read and opens again for the write.
    ASSERT_TRUE(tool->Run(TransferCommand::WriteChannelInfo));
    ExpectCompletedWithoutMessages({"读取信道信息？", "写信道信息？"});

    const RadioImage radio = StopRadio();
    EXPECT_EQ(MovedOnly(radio, tool->state.Image, factory,
                        {{mm::kChannelTableStart, mm::kChannelTableEnd}}),
              "");
    EXPECT_NE(radio[flags], factory[flags]);
}

TEST_F(LinkEndToEnd, RadioVanishingMidReadAbandonsItWithTheSystemsReason)
{
    // The terminal goes away a few blocks into a channel read.
    tool->link.OnProgress = [this] {
        if (tool->link.Progress().blocksDone == 5)
            sim->Kill();
    };
    ASSERT_TRUE(tool->Run(TransferCommand::ReadChannelInfo));

    EXPECT_EQ(tool->link.Outcome(), TransferOutcome::Abandoned);
    EXPECT_FALSE(tool->port.PortOpen());
    EXPECT_FALSE(tool->link.Progress().visible);
    ASSERT_EQ(tool->prompt.Shown.size(), 2u);
    const PromptMessage &lost = tool->prompt.Shown.back();
    EXPECT_EQ(lost.text.rfind(link_text::kConnectionLost, 0), 0u) << lost.text;
    EXPECT_EQ(lost.title, "错误");
    EXPECT_FALSE(tool->link.LastPortError().empty());
    // What arrived before the loss does not reach the image.
    EXPECT_EQ(MovedOnly(tool->state.Image, factory, startUp.Image, {}), "");
}

} // namespace
} // namespace nx5rb::test
