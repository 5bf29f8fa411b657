// nx5rb-sim --replay as a developer uses it on a bug report: the trace of a customer's read stands
// in for their radio, and nx5rb-cli reads from it what the customer's tool read.
#include "e2e_rig.h"
#include "support/temp_files.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

bool Contains(const std::string &text, std::string_view what)
{
    return text.find(what) != std::string::npos;
}

class ReplayEndToEnd : public ::testing::Test
{
protected:
    TempFolder folder;
    const std::string tracePath = folder.Path("trace.txt");
    const std::string outPath = folder.Path("out.dat");
};

// A user's "--trace" of a read becomes a regression test: the replay gives the tool the radio's
// memory again, frame for frame.
TEST_F(ReplayEndToEnd, CliReadsFromAReplayWhatTheTracedToolRead)
{
    const std::string radioPath = folder.Path("radio.dat");
    const std::string firstPath = folder.Path("first.dat");
    {
        SimRadio radio(radioPath);
        ASSERT_FALSE(radio.Terminal().empty()) << radio.Log();
        const ProgramRun traced = RunProgram(kCliProgram,
                                             {"read", "all", "--port", radio.Terminal(), "-o",
                                              firstPath, "--trace", tracePath, "--no-backup"});
        ASSERT_EQ(traced.exitCode, 0) << traced.err;
        EXPECT_EQ(radio.Stop(), 0) << radio.Log();
    }
    ChildProcess sim(kSimProgram, {"--replay", tracePath, "--baud", "0"});
    const std::string terminal = sim.FirstLine();
    ASSERT_FALSE(terminal.empty()) << sim.Err();

    const ProgramRun read = RunProgram(
        kCliProgram, {"read", "all", "--port", terminal, "-o", outPath, "--no-backup"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(ReadImage(outPath), ReadImage(firstPath));
    EXPECT_EQ(sim.Finish(SIGTERM), 0) << sim.Err();
    EXPECT_FALSE(Contains(sim.Err(), "left the trace")) << sim.Err();
}

TEST_F(ReplayEndToEnd, TraceThatCannotServeIsRefusedWithItsReason)
{
    struct Case
    {
        std::string text; // empty: no file at all
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"", "trace.txt: No such file or directory"},
        {"# a trace\n   0.000 open x\n   0.001 > 52 4\n", "trace.txt:3: \"4\" is not a byte"},
        {"# nothing but the port\n   0.000 open x\n   0.100 close\n",
         "trace.txt: the trace holds nothing the tool sent"},
    };
    for (const Case &c : cases) {
        std::filesystem::remove(tracePath);
        if (!c.text.empty())
            folder.Write("trace.txt", Bytes(c.text.begin(), c.text.end()));
        const ProgramRun run = RunProgram(kSimProgram, {"--replay", tracePath});
        EXPECT_EQ(run.exitCode, 1) << c.reason;
        EXPECT_EQ(run.out, "") << "no terminal is offered";
        EXPECT_TRUE(Contains(run.err, c.reason)) << run.err;
    }
}

} // namespace
} // namespace nx5rb::test
