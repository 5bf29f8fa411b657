// The replay of a trace as the pseudo-terminal feeds it: the tool's bytes in whatever pieces the
// line delivers, several transfers in a row, and a tool that strays from what was recorded.
#include "sim/replay_radio.h"
#include "sim/sim_options.h"

#include <gtest/gtest.h>
#include <map>

namespace nx5rb {
namespace {

// Two transfers; the answer to the entry string came in two reads, and a byte arrived in the
// second transfer before the tool had sent anything.
constexpr std::string_view kTrace = R"(# two transfers
   0.000 open loop
   0.001 > 52 44 51 34 37 31 36
   0.010 < 00 06
   0.011 < 31
   0.020 > 02
   0.030 < AA BB
   0.040 > 06
   0.050 > 45
   0.060 close
   1.000 open loop
   1.001 < 99
   1.002 > 52 44 51 34 37 31 36
   1.010 < 00 06 31
)";

const Bytes kEntry = {0x52, 0x44, 0x51, 0x34, 0x37, 0x31, 0x36};

Bytes ToolBytes()
{
    Bytes bytes = kEntry;
    bytes.insert(bytes.end(), {0x02, 0x06, 0x45});
    bytes.insert(bytes.end(), kEntry.begin(), kEntry.end());
    return bytes;
}

std::vector<TraceLine> Lines()
{
    const ParsedTrace trace = ParseTrace(kTrace);
    EXPECT_EQ(trace.Reason, "");
    return trace.Lines;
}

class ReplayPieces : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(ReplayPieces, AnswersEachRecordedFrameOnceItIsComplete)
{
    const std::vector<TraceLine> lines = Lines();
    ReplayRadio replay(lines);
    EXPECT_EQ(replay.FrameCount(), 5);
    EXPECT_EQ(replay.TransferCount(), 2);

    const Bytes tool = ToolBytes();
    // The last byte of each frame and what it is answered with.
    const std::map<std::size_t, Bytes> answers
        = {{6, {0x00, 0x06, 0x31}}, {7, {0xAA, 0xBB}}, {16, {0x99, 0x00, 0x06, 0x31}}};
    Bytes expected;
    Bytes got;
    const std::size_t piece = GetParam();
    for (std::size_t at = 0; at < tool.size(); at += piece) {
        const std::size_t end = std::min(at + piece, tool.size());
        for (std::size_t i = at; i < end; ++i)
            if (answers.count(i))
                expected.insert(expected.end(), answers.at(i).begin(), answers.at(i).end());
        const Bytes reply
            = replay.Receive(std::span<const std::uint8_t>(tool).subspan(at, end - at));
        got.insert(got.end(), reply.begin(), reply.end());
        EXPECT_EQ(got, expected) << "after tool byte " << end - 1;
    }
    EXPECT_EQ(replay.Mismatch(), "");
    EXPECT_EQ(replay.FramesMatched(), 5);
}

INSTANTIATE_TEST_SUITE_P(PieceSizes, ReplayPieces, ::testing::Values(1, 2, 3, 7, 100));

struct StrayCase
{
    Bytes tool;
    std::string message;
    int matched;
};

class ReplayStray : public ::testing::TestWithParam<StrayCase>
{
};

TEST_P(ReplayStray, NamesTheLineAndBothFramesThenFallsSilent)
{
    const std::vector<TraceLine> lines = Lines();
    ReplayRadio replay(lines);
    int told = 0;
    replay.OnMismatch = [&told](const std::string &) { ++told; };
    replay.Receive(GetParam().tool);
    EXPECT_EQ(replay.Mismatch(), GetParam().message);
    EXPECT_EQ(replay.FramesMatched(), GetParam().matched);
    EXPECT_EQ(told, 1);

    // Not even what the trace expected next gets an answer now.
    const Bytes again = ToolBytes();
    EXPECT_TRUE(replay.Receive(again).empty());
    EXPECT_EQ(told, 1);
}

Bytes With(Bytes head, std::initializer_list<std::uint8_t> tail)
{
    head.insert(head.end(), tail);
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    Strays, ReplayStray,
    ::testing::Values(
        StrayCase {With(kEntry, {0x03}), "trace line 6 (transfer 1) expects 02; the tool sent 03",
                   1},
        StrayCase {{0x52, 0x44, 0x51, 0x35},
                   "trace line 3 (transfer 1) expects 52 44 51 34 37 31 36; the tool sent 52 44 "
                   "51 35",
                   0},
        StrayCase {With(ToolBytes(), {0x02}),
                   "the trace has no more frames of the tool after line 14; the tool sent 02", 5},
        StrayCase {With(With(kEntry, {0x02, 0x06, 0x45}), {0x57, 0x0F}),
                   "trace line 13 (transfer 2) expects 52 44 51 34 37 31 36; the tool sent 57 0F",
                   4}));

struct OptionsCase
{
    std::vector<std::string_view> args;
    std::string replay; // ReplayPath, when accepted
    bool accepted;
    int corruptWrite = 0; // Faults.CorruptWrite, when accepted
};

class ReplayOptions : public ::testing::TestWithParam<OptionsCase>
{
};

TEST_P(ReplayOptions, ReplayStandsAloneAndCorruptWriteTakesACount)
{
    const SimOptions options = ParseSimArgs(GetParam().args);
    EXPECT_EQ(options.Error.empty(), GetParam().accepted) << options.Error;
    if (!GetParam().accepted)
        return;
    EXPECT_EQ(options.ReplayPath, GetParam().replay);
    EXPECT_EQ(options.Faults.CorruptWrite, GetParam().corruptWrite);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ReplayOptions,
    ::testing::Values(OptionsCase {{"--replay", "t.txt"}, "t.txt", true},
                      OptionsCase {{"--replay", "t.txt", "--baud", "0", "--quiet"}, "t.txt", true},
                      OptionsCase {{"--replay"}, "", false},
                      OptionsCase {{"--replay", "t.txt", "--load", "a.dat"}, "", false},
                      OptionsCase {{"--replay", "t.txt", "--stall-after", "2"}, "", false},
                      OptionsCase {{"--replay", "t.txt", "--corrupt-write", "1"}, "", false},
                      OptionsCase {{"--corrupt-write", "3"}, "", true, 3},
                      OptionsCase {{"--corrupt-write", "0"}, "", false}));

} // namespace
} // namespace nx5rb
