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

TEST(TransferPlan, FlagsChooseTheRangesAndTheSkippedBlocks)
{
    TransferFlags bandA, bandB, bandC, all, bandStart;
    bandA.WantBandA = true;
    bandB.WantBandB = true;
    bandC.WantBandC = true;
    all.WantAll = all.WantBandStart = true;
    bandStart.WantBandStart = true;
    const auto area = Range(0xCF0, 0xD10);
    const auto tune = Range(0xEC0, 0xFA0);
    const struct
    {
        const char *what;
        TransferFlags flags;
        bool read;
        std::vector<std::uint16_t> blocks;
    } cases[] = {
        // Band A's range runs over band B's tune block to its own settings block, both ways.
        {"band A read", bandA, true, Concat({Range(0xF00, 0xF30), {0xF80}})},
        {"band A write", bandA, false, Concat({Range(0xF00, 0xF30), {0xF80}})},
        // A read keeps band A's settings block; a write leaves it for band B's own.
        {"band B read", bandB, true, Range(0xF40, 0xF90)},
        {"band B write", bandB, false, Concat({Range(0xF40, 0xF70), {0xF90}})},
        // A write of band C steps from its tune block over band A's to its settings block.
        {"band C read", bandC, true, tune},
        {"band C write", bandC, false, Concat({Range(0xEC0, 0xEF0), {0xFA0}})},
        // No region flag: the frequency areas alone, nothing skipped.
        {"areas write", {}, false, area},
        // An exhausted range goes on to the tune region, then (writes only) the band-start records.
        {"all write", all, false, Concat({area, tune, {0x810, 0x820}})},
        {"all read", all, true, Concat({area, tune})},
        {"band-start read", bandStart, true, area},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlanBlocks(c.flags, c.read), c.blocks);
    }
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
