// nx5rb-sim --replay as a developer uses it on a bug report: the trace of a customer's read stands
// in for their radio, and nx5rb-cli reads from it what the customer's tool read.
#include "e2e_rig.h"
#include "link/link_harness.h"
#include "link/serial_trace.h"
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

// A read of everything from the virtual radio, traced to `path`; the image the tool ended with.
RadioImage RecordReadAll(const std::string &path)
{
    VirtualPort radioPort;
    radioPort.SetAutoDelivery(false);
    const TracingPortResult traced = TraceToFile(radioPort, path);
    EXPECT_NE(traced.Port, nullptr) << traced.Reason;
    if (!traced.Port)
        return {};
    WindowState state;
    FakeTimer timer1;
    FakeTimer timer2;
    RecordingPrompt prompt;
    Link link(state.Image, *traced.Port, timer1, timer2, prompt);
    link.OnFinished = [&state](const TransferResult &result) { state.FinishTransfer(result); };
    ManualPump pump([&radioPort] { return radioPort.DeliverPending(); });
    RunTransferCommand(TransferCommand::ReadAll, link, state, pump);
    pump.WaitWhile([] { return true; });
    EXPECT_EQ(link.Outcome(), TransferOutcome::Completed);
    return state.Image;
}

class ReplayEndToEnd : public ::testing::Test
{
protected:
    TempFolder folder;
    const std::string tracePath = folder.Path("trace.txt");
    const std::string outPath = folder.Path("out.dat");
};

TEST_F(ReplayEndToEnd, CliReadsFromAReplayWhatTheTracedToolRead)
{
    const RadioImage traced = RecordReadAll(tracePath);
    ChildProcess sim(kSimProgram, {"--replay", tracePath, "--baud", "0"});
    const std::string terminal = sim.FirstLine();
    ASSERT_FALSE(terminal.empty()) << sim.Err();

    const ProgramRun read
        = RunProgram(kCliProgram, {"read", "all", "--port", terminal, "-o", outPath});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(ReadImage(outPath), traced);
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
