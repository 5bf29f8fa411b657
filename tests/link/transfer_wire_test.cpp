// What each of the fourteen commands puts on the wire, block by block, against the virtual radio.
#include "link/transfer_plan.h"
#include "link_harness.h"

#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

Bytes Entry()
{
    return {'R', 'D', 'Q', '4', '7', '1', '6'};
}

Bytes ReadRequest(std::uint16_t address)
{
    return {'R', std::uint8_t(address >> 8), std::uint8_t(address & 0xFF), 0x10};
}

Bytes WriteRequest(std::uint16_t address, const RadioImage &image)
{
    Bytes frame = {'W', std::uint8_t(address >> 8), std::uint8_t(address & 0xFF), 0x10};
    frame.insert(frame.end(), image.begin() + address, image.begin() + address + 16);
    return frame;
}

std::vector<std::uint16_t> Range(std::uint16_t from, std::uint16_t to)
{
    std::vector<std::uint16_t> blocks;
    for (std::uint16_t a = from; a <= to; a += 16)
        blocks.push_back(a);
    return blocks;
}

std::vector<std::uint16_t> Concat(std::initializer_list<std::vector<std::uint16_t>> parts)
{
    std::vector<std::uint16_t> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct CommandCase
{
    TransferCommand command;
    std::vector<std::uint16_t> blocks;
};

// The block table of the transfer commands.
std::vector<CommandCase> CommandTable()
{
    const auto area = Range(0xCF0, 0xD10);
    const auto tune = Range(0xEC0, 0xFA0);
    return {
        {TransferCommand::Read, area},
        {TransferCommand::Write, Concat({area, {0x810, 0x820}})},
        {TransferCommand::ReadA, {0xF00, 0xF10, 0xF20, 0xF30, 0xF80}},
        {TransferCommand::WriteA, {0xF00, 0xF10, 0xF20, 0xF30, 0xF80}},
        {TransferCommand::ReadB, {0xF40, 0xF50, 0xF60, 0xF70, 0xF80, 0xF90}},
        {TransferCommand::WriteB, {0xF40, 0xF50, 0xF60, 0xF70, 0xF90}},
        {TransferCommand::ReadC, tune},
        {TransferCommand::WriteC, {0xEC0, 0xED0, 0xEE0, 0xEF0, 0xFA0}},
        {TransferCommand::ReadOption, {0xFC0, 0xFD0, 0xFE0, 0xFF0}},
        {TransferCommand::WriteOption, {0xFC0, 0xFD0, 0xFE0, 0xFF0}},
        {TransferCommand::ReadChannelInfo, Range(0x010, 0x800)},
        {TransferCommand::WriteChannelInfo, Range(0x010, 0x800)},
        {TransferCommand::ReadAll, Concat({area, tune})},
        {TransferCommand::WriteAll, Concat({area, tune, {0x810, 0x820}})},
    };
}

TEST(TransferWire, EveryCommandSendsItsBlocksInOrderAndEnds)
{
    for (const CommandCase &c : CommandTable()) {
        SCOPED_TRACE(std::string(Confirmation(c.command)));
        LinkHarness h;
        h.Run(c.command);

        std::vector<Bytes> expected = {Entry(), {0x02}};
        for (std::uint16_t block : c.blocks) {
            if (IsRead(c.command)) {
                expected.push_back(ReadRequest(block));
                expected.push_back({0x06});
            } else {
                expected.push_back(WriteRequest(block, h.state.Image));
            }
        }
        expected.push_back({'E'});
        EXPECT_EQ(h.port.sent, expected);
        EXPECT_EQ(h.link.LinkState(), LinkPhase::Idle);
        EXPECT_FALSE(h.port.PortOpen());
        EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
        EXPECT_EQ(h.radioPort.Radio().SessionsCompleted(), 1);
        // Each command asks exactly its confirmation, with the warning look; success says nothing.
        ASSERT_EQ(h.prompt.Shown.size(), 1u);
        EXPECT_EQ(h.prompt.Shown[0].title, "警告");
        EXPECT_EQ(h.prompt.Shown[0].buttons, PromptButtons::OkCancel);
        EXPECT_EQ(h.prompt.Shown[0].icon, PromptIcon::Warning);
    }
}

TEST(TransferWire, PlanMatchesTheBlockTable)
{
    for (const CommandCase &c : CommandTable()) {
        SCOPED_TRACE(std::string(Confirmation(c.command)));
        LinkHarness h;
        h.Run(c.command);
        // The progress total is the plan; after the end it reports every block done.
        EXPECT_EQ(h.link.Progress().blocksTotal, int(c.blocks.size()));
        EXPECT_EQ(h.link.Progress().blocksDone, int(c.blocks.size()));
        EXPECT_FALSE(h.link.Progress().visible);
    }
}

TEST(TransferPlan, SkipRulesCompareOnlyTheLowByte)
{
    TransferFlags bandA;
    bandA.WantBandA = true;
    // Any address whose low byte is 0x40 jumps to band A's settings block, in both directions.
    EXPECT_EQ(ApplySkip(0xF40, bandA, true), 0xF80);
    EXPECT_EQ(ApplySkip(0x140, bandA, false), 0xF80);
    EXPECT_EQ(ApplySkip(0xF50, bandA, true), 0xF50);

    TransferFlags bandB;
    bandB.WantBandB = true;
    EXPECT_EQ(ApplySkip(0xF80, bandB, true), 0xF80); // a read keeps band A's settings block
    EXPECT_EQ(ApplySkip(0xF80, bandB, false), 0xF90);
    EXPECT_EQ(ApplySkip(0x280, bandB, false), 0xF90);

    TransferFlags bandC;
    bandC.WantBandC = true;
    EXPECT_EQ(ApplySkip(0xF00, bandC, true), 0xF00);
    EXPECT_EQ(ApplySkip(0xF00, bandC, false), 0xFA0);
    EXPECT_EQ(ApplySkip(0xD00, bandC, false), 0xFA0);

    TransferFlags none;
    EXPECT_EQ(ApplySkip(0xF40, none, false), 0xF40);
}

TEST(TransferPlan, ExhaustedRangesContinueOrEnd)
{
    TransferFlags flags;
    flags.WantAll = true;
    flags.WantBandStart = true;
    const auto tune = NextRange(flags, false);
    ASSERT_TRUE(tune);
    EXPECT_EQ(tune->start, 0xEC0);
    EXPECT_EQ(tune->end, 0xFB0);
    EXPECT_FALSE(flags.WantAll);
    const auto bandStart = NextRange(flags, false);
    ASSERT_TRUE(bandStart);
    EXPECT_EQ(bandStart->start, 0x810);
    EXPECT_EQ(bandStart->end, 0x830);
    EXPECT_FALSE(NextRange(flags, false));

    // A read never moves the band-start records.
    TransferFlags read;
    read.WantBandStart = true;
    EXPECT_FALSE(NextRange(read, true));
}

TEST(TransferCommands, RegionsOfTheCommandLine)
{
    EXPECT_EQ(CommandForRegion("all", true), TransferCommand::ReadAll);
    EXPECT_EQ(CommandForRegion("all", false), TransferCommand::WriteAll);
    EXPECT_EQ(CommandForRegion("area", false), TransferCommand::Write);
    EXPECT_EQ(CommandForRegion("band-b", true), TransferCommand::ReadB);
    EXPECT_EQ(CommandForRegion("message", false), TransferCommand::WriteOption);
    EXPECT_EQ(CommandForRegion("channels", true), TransferCommand::ReadChannelInfo);
    EXPECT_FALSE(CommandForRegion("band-d", true));
}

} // namespace
} // namespace nx5rb::test
