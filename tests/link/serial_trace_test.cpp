// The serial trace as a bug report carries it: what the link sent and received, read back, and a
// replay of it that gives the tool the same memory as the radio did.
#include "link/serial_trace.h"
#include "link_harness.h"
#include "sim/replay_radio.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

// The link on the virtual radio's port, with a trace of it written to memory.
struct TracedTool
{
    TracedTool() { radioPort.SetAutoDelivery(false); }

    void Run(TransferCommand command)
    {
        session.RunTransfer(command);
        pump.WaitWhile([] { return true; });
    }

    ParsedTrace Parsed() const
    {
        ParsedTrace parsed = ParseTrace(text);
        EXPECT_EQ(parsed.Reason, "") << "line " << parsed.BadLine << " of\n" << text;
        return parsed;
    }

    VirtualPort radioPort;
    std::string text;
    TracingPort port {radioPort, [this](std::string_view line) -> std::optional<std::string> {
                          text.append(line).append("\n");
                          return std::nullopt;
                      }};
    FakeTimer timer1;
    FakeTimer timer2;
    RecordingPrompt prompt;
    ManualPump pump {[this] { return radioPort.DeliverPending(); }};
    Session session {{port, timer1, timer2, prompt, pump}};
    WindowState &state = session.State();
    Link &link = session.LinkLayer();
};

// Runs the command with the replay as the far end of the harness's line: every frame the tool
// sends goes to the replay, and its answer arrives at once.
void RunOnReplay(TransferCommand command, ReplayRadio &replay, LinkHarness &h)
{
    h.port.silenced = true;
    h.session.RunTransfer(command);
    for (std::size_t next = 0; next < h.port.sent.size(); ++next)
        h.port.Inject(replay.Receive(h.port.sent[next]));
}

std::vector<TraceEvent> Events(const ParsedTrace &trace)
{
    std::vector<TraceEvent> events;
    for (const TraceLine &line : trace.Lines)
        events.push_back(line.Event);
    return events;
}

std::vector<const TraceLine *> ToolFrames(const ParsedTrace &trace)
{
    std::vector<const TraceLine *> frames;
    for (const TraceLine &line : trace.Lines)
        if (line.Event == TraceEvent::ToRadio)
            frames.push_back(&line);
    return frames;
}

TEST(SerialTrace, ReadAllIsRecordedAndItsReplayGivesTheSameImageOrSaysWhereItWasLeft)
{
    TracedTool traced;
    traced.Run(TransferCommand::ReadAll);
    ASSERT_EQ(traced.link.Outcome(), TransferOutcome::Completed);

    const ParsedTrace trace = traced.Parsed();
    const std::vector<TraceEvent> events = Events(trace);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front(), TraceEvent::Open);
    EXPECT_EQ(trace.Lines.front().Note, "virtual radio");
    EXPECT_EQ(events.back(), TraceEvent::Close);
    EXPECT_EQ(std::count(events.begin(), events.end(), TraceEvent::Open), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), TraceEvent::Close), 1);
    // One line per frame the tool sent, as the radio counted them.
    const std::vector<const TraceLine *> frames = ToolFrames(trace);
    EXPECT_EQ(frames.size(), traced.radioPort.Radio().FrameLog().size());
    for (std::size_t i = 1; i < trace.Lines.size(); ++i)
        EXPECT_LE(trace.Lines[i - 1].Milliseconds, trace.Lines[i].Milliseconds);

    LinkHarness same;
    const RadioImage startUp = same.state.Image;
    ReplayRadio replay(trace.Lines);
    RunOnReplay(TransferCommand::ReadAll, replay, same);
    EXPECT_EQ(replay.Mismatch(), "");
    EXPECT_EQ(same.link.Outcome(), TransferOutcome::Completed);
    EXPECT_EQ(replay.FramesMatched(), replay.FrameCount());
    EXPECT_NE(same.state.Image, startUp);
    EXPECT_EQ(same.state.Image, traced.state.Image);

    // A band A read begins like a read of everything (entry, band information) and then asks for
    // 0xF00 where the trace has 0xCF0.
    LinkHarness other;
    ReplayRadio strayed(trace.Lines);
    std::vector<std::string> told;
    strayed.OnMismatch = [&told](const std::string &message) { told.push_back(message); };
    RunOnReplay(TransferCommand::ReadA, strayed, other);
    ASSERT_EQ(told.size(), 1u);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(told[0],
              "trace line " + std::to_string(frames[2]->LineNumber)
                  + " (transfer 1) expects 52 0C F0 10; the tool sent 52 0F 00 10");
    EXPECT_EQ(strayed.FramesMatched(), 2);
    EXPECT_EQ(other.link.LinkState(), LinkPhase::ReadRequested) << "still waiting for the block";
    EXPECT_EQ(other.state.Image, startUp);
}

TEST(SerialTrace, PortThatFailsToOpenOrGoesAwayIsRecordedAndTheLinkStillHearsOfIt)
{
    TracedTool traced;
    traced.radioPort.SetOpenFails("Permission denied");
    traced.Run(TransferCommand::ReadAll);
    EXPECT_EQ(traced.link.Outcome(), TransferOutcome::NotStarted);
    EXPECT_NE(traced.text.find("open virtual radio failed: Permission denied"), std::string::npos)
        << traced.text;
    EXPECT_TRUE(traced.Parsed().Lines.empty()) << "the failure is a comment, not a record";

    traced.radioPort.SetOpenFails("");
    traced.session.RunTransfer(TransferCommand::ReadAll);
    traced.radioPort.DeliverPending(); // the entry reply
    traced.radioPort.SimulateDeviceLost();
    EXPECT_EQ(traced.link.Outcome(), TransferOutcome::Abandoned);
    EXPECT_EQ(traced.prompt.Shown.size(), 4u) << "two confirmations, two port messages";
    EXPECT_EQ(Events(traced.Parsed()),
              (std::vector<TraceEvent> {TraceEvent::Open, TraceEvent::ToRadio, TraceEvent::ToTool,
                                        TraceEvent::ToRadio, TraceEvent::Lost}))
        << traced.text;
}

TEST(SerialTrace, TraceFileIsWrittenLineByLineOrRefusedWithTheSystemsReason)
{
    TempFolder folder;
    VirtualPort radioPort;
    const TracingPortResult missing = TraceToFile(radioPort, folder.Path("no/such/folder/t.txt"));
    EXPECT_EQ(missing.Port, nullptr);
    EXPECT_EQ(missing.Reason, "No such file or directory");
    EXPECT_EQ(ReadTraceFile(folder.Path("absent.txt")).Reason, "No such file or directory");
    // The header does not fit: the trace is refused before the port is used.
    EXPECT_EQ(TraceToFile(radioPort, "/dev/full").Reason, "No space left on device");

    const std::string path = folder.Path("trace.txt");
    TracingPortResult traced = TraceToFile(radioPort, path);
    ASSERT_NE(traced.Port, nullptr) << traced.Reason;
    ASSERT_TRUE(traced.Port->SetPortOpen(true));
    traced.Port->Output(Bytes {0x45});
    // Flushed as it goes: a tool that crashes now still leaves the lines.
    const ParsedTrace trace = ReadTraceFile(path);
    EXPECT_EQ(trace.Reason, "");
    EXPECT_EQ(Events(trace), (std::vector<TraceEvent> {TraceEvent::Open, TraceEvent::ToRadio}));
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "# nx5rb ");
}

struct LineCase
{
    std::string line;
    bool good;
    TraceLine expected; // of a good line: its record
};

void PrintTo(const LineCase &c, std::ostream *out)
{
    *out << '"' << c.line << '"';
}

class TraceLineParsing : public ::testing::TestWithParam<LineCase>
{
};

// Each line sits between a comment, a blank line and a good record before it and one after it, so
// a bad line must be reported as line 4 with the record before it kept.
TEST_P(TraceLineParsing, GoodLinesGiveTheirRecordBadOnesTheirNumber)
{
    const LineCase &c = GetParam();
    const std::string text = "# header\n\n 0.000 open x\n" + c.line + "\n 9.999 close\n";
    const ParsedTrace trace = ParseTrace(text);
    if (!c.good) {
        EXPECT_EQ(trace.BadLine, 4);
        EXPECT_NE(trace.Reason, "");
        EXPECT_EQ(trace.Lines.size(), 1u);
        return;
    }
    EXPECT_EQ(trace.Reason, "") << "line " << trace.BadLine;
    ASSERT_EQ(trace.Lines.size(), 3u);
    TraceLine expected = c.expected;
    expected.LineNumber = 4;
    EXPECT_EQ(trace.Lines[1], expected);
    EXPECT_EQ(trace.Lines[2].LineNumber, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TraceLineParsing,
    ::testing::Values(
        LineCase {"   12.345 > 52 0F 00 10",
                  true,
                  {0, 12345, TraceEvent::ToRadio, {0x52, 0x0F, 0x00, 0x10}, ""}},
        LineCase {"0.007 < 57 0f ff", true, {0, 7, TraceEvent::ToTool, {0x57, 0x0F, 0xFF}, ""}},
        LineCase {
            "1.000 open  /dev/ttyUSB0 ", true, {0, 1000, TraceEvent::Open, {}, "/dev/ttyUSB0"}},
        LineCase {"1.000 lost", true, {0, 1000, TraceEvent::Lost, {}, ""}},
        LineCase {"1.000 close\r", true, {0, 1000, TraceEvent::Close, {}, ""}},
        LineCase {"1.000   >  06", true, {0, 1000, TraceEvent::ToRadio, {0x06}, ""}},
        LineCase {"1.00 > 06", false, {}}, LineCase {"1.0000 > 06", false, {}},
        LineCase {".000 > 06", false, {}}, LineCase {"-1.000 > 06", false, {}},
        LineCase {"1,000 > 06", false, {}}, LineCase {"1.000", false, {}},
        LineCase {"1.000 >", false, {}}, LineCase {"1.000 > 6", false, {}},
        LineCase {"1.000 > 520F", false, {}}, LineCase {"1.000 > 0G", false, {}},
        LineCase {"1.000 close now", false, {}}, LineCase {"1.000 send 06", false, {}},
        LineCase {"1.000 >\t06", false, {}}, LineCase {"1.000 open a\x01", false, {}},
        LineCase {"9999999999999.000 close", false, {}}));

} // namespace
} // namespace nx5rb::test
