// The trace reader and the replay radio driven by arbitrary input. Up to the first NUL byte the
// input is the text of a trace; after it comes a script for a tool talking to a replay of it:
//
//   first byte even   the tool sends exactly the frames the trace recorded, cut into pieces of
//                     1 + (b % 32) bytes by the script's next bytes (the rest in one piece)
//   first byte odd    the tool sends anything: pieces of 1 + (n % 64) bytes, each n followed by
//                     the piece's bytes
//
// Invariants: a refused trace names a line that exists, and keeps only the records before it; every
// record formats to a line that reads back as the same record; a tool that keeps to the trace gets
// every answer the trace recorded after its frames, in order, and no complaint; any tool gets at
// most a prefix of those answers, and nothing more once the replay has named where it was left.
#include "invariant.h"
#include "link/serial_trace.h"
#include "sim/replay_radio.h"
#include "support/fake_timer.h"
#include "support/manual_pump.h"
#include "support/recording_prompt.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace nx5rb;

constexpr std::uint8_t kAnyBytesBit = 1;
constexpr std::size_t kFaithfulPiece = 32;
constexpr std::size_t kAnyPiece = 64;

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

void CheckParse(std::string_view text, const ParsedTrace &trace)
{
    const int lineCount = int(std::count(text.begin(), text.end(), '\n'))
        + (text.empty() || text.back() == '\n' ? 0 : 1);
    Check(trace.Reason.empty() == (trace.BadLine == 0), "a bad line comes with its reason");
    Check(trace.BadLine >= 0 && trace.BadLine <= lineCount, "the bad line is a line of the text");
    int previous = 0;
    for (const TraceLine &line : trace.Lines) {
        Check(line.LineNumber > previous, "records keep the order of their lines");
        Check(trace.BadLine == 0 || line.LineNumber < trace.BadLine,
              "only records before the bad line are kept");
        previous = line.LineNumber;

        const ParsedTrace again = ParseTrace(FormatTraceLine(line));
        TraceLine renumbered = line;
        renumbered.LineNumber = 1;
        Check(again.Reason.empty() && again.Lines.size() == 1 && again.Lines[0] == renumbered,
              "a record reads back from its own line");
    }
}

// What a tool that keeps to the trace hears: every byte the radio sent, in order, except those
// recorded after the tool's last frame once the port was closed, reopened or lost.
Bytes RecordedAnswers(const std::vector<TraceLine> &lines)
{
    std::size_t lastFrame = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].Event == TraceEvent::ToRadio)
            lastFrame = i;
    Bytes answers;
    bool stretchEnded = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lastFrame != lines.size() && i > lastFrame && lines[i].Event != TraceEvent::ToTool
            && lines[i].Event != TraceEvent::ToRadio)
            stretchEnded = true;
        if (lines[i].Event == TraceEvent::ToTool && !stretchEnded && lastFrame != lines.size())
            answers.insert(answers.end(), lines[i].Data.begin(), lines[i].Data.end());
    }
    return answers;
}

Bytes ToolFrames(const std::vector<TraceLine> &lines)
{
    Bytes frames;
    for (const TraceLine &line : lines)
        if (line.Event == TraceEvent::ToRadio)
            frames.insert(frames.end(), line.Data.begin(), line.Data.end());
    return frames;
}

bool IsPrefix(const Bytes &part, const Bytes &whole)
{
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

void CheckReplay(const std::vector<TraceLine> &lines, std::span<const std::uint8_t> script)
{
    ReplayRadio replay(lines);
    const Bytes answers = RecordedAnswers(lines);
    Bytes heard;
    const auto send = [&](std::span<const std::uint8_t> piece) {
        const bool left = !replay.Mismatch().empty();
        const Bytes reply = replay.Receive(piece);
        Check(!left || reply.empty(), "a replay that was left answers nothing more");
        heard.insert(heard.end(), reply.begin(), reply.end());
        Check(IsPrefix(heard, answers), "the tool hears only the recorded answers, in order");
    };

    if (script.empty() || (script[0] & kAnyBytesBit) == 0) {
        const Bytes frames = ToolFrames(lines);
        std::size_t at = 0;
        for (std::size_t s = 1; at < frames.size(); ++s) {
            const std::size_t piece
                = s < script.size() ? 1 + script[s] % kFaithfulPiece : frames.size() - at;
            const std::size_t count = std::min(piece, frames.size() - at);
            send(std::span<const std::uint8_t>(frames).subspan(at, count));
            at += count;
        }
        Check(replay.Mismatch().empty(), "a tool that keeps to the trace hears no complaint");
        Check(replay.FramesMatched() == replay.FrameCount(), "every recorded frame is met");
        Check(heard == answers, "a tool that keeps to the trace hears every answer");
        return;
    }
    std::size_t at = 1;
    while (at < script.size()) {
        const std::size_t count
            = std::min<std::size_t>(1 + script[at] % kAnyPiece, script.size() - at - 1);
        send(script.subspan(at + 1, count));
        at += 1 + count;
    }
    const std::string &mismatch = replay.Mismatch();
    Check(mismatch.empty() || mismatch.starts_with("trace line ")
              || mismatch.starts_with("the trace has no more frames"),
          "a complaint names where the tool left the trace");
}

void Fuzz(std::span<const std::uint8_t> input)
{
    const auto nul = std::find(input.begin(), input.end(), std::uint8_t(0));
    const std::string_view text(reinterpret_cast<const char *>(input.data()),
                                std::size_t(nul - input.begin()));
    const ParsedTrace trace = ParseTrace(text);
    CheckParse(text, trace);
    if (nul != input.end())
        CheckReplay(trace.Lines, input.subspan(std::size_t(nul - input.begin()) + 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz(std::span<const std::uint8_t>(data, size));
    return 0;
}

#ifdef NX5RB_TRACE_SEEDS
// Seeds: traces of real transfers between the link and the virtual radio, each with a tool that
// keeps to it and a tool that sends its frames in pieces of its own.
#include "app/session.h"
#include "sim/virtual_port.h"

#include <fstream>

namespace {

std::string TraceOf(TransferCommand command)
{
    std::string text;
    VirtualPort radio; // its answers arrive when the pump lets them
    radio.SetAutoDelivery(false);
    TracingPort port(radio, [&text](std::string_view line) -> std::optional<std::string> {
        text.append(line).append("\n");
        return std::nullopt;
    });
    test::FakeTimer timer1;
    test::FakeTimer timer2;
    test::RecordingPrompt prompt; // every box answered OK
    test::ManualPump pump([&radio] { return radio.DeliverPending(); });
    Session session({port, timer1, timer2, prompt, pump});
    session.RunTransfer(command);
    pump.WaitWhile([] { return true; });
    return text;
}

bool WriteSeed(const std::string &path, const std::string &text, const Bytes &script)
{
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), std::streamsize(text.size()));
    file.put('\0');
    file.write(reinterpret_cast<const char *>(script.data()), std::streamsize(script.size()));
    if (!file)
        std::fprintf(stderr, "%s: cannot write\n", path.c_str());
    return bool(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const TransferCommand commands[] = {TransferCommand::ReadAll, TransferCommand::WriteAll,
                                        TransferCommand::ReadA, TransferCommand::WriteOption};
    for (TransferCommand command : commands) {
        const std::string text = TraceOf(command);
        const std::string name = std::string(argv[1]) + "/command-" + std::to_string(int(command));
        // Keeping to the trace, in pieces of 1, 4, 20 and 7 bytes.
        const Bytes faithful = {0, 0, 3, 19, 6};
        // The recorded frames again, as pieces of up to 64 bytes for the fuzzer to bend.
        Bytes any = {kAnyBytesBit};
        const Bytes frames = ToolFrames(ParseTrace(text).Lines);
        for (std::size_t at = 0; at < frames.size(); at += kAnyPiece) {
            const std::size_t count = std::min(kAnyPiece, frames.size() - at);
            any.push_back(std::uint8_t(count - 1));
            any.insert(any.end(), frames.begin() + std::ptrdiff_t(at),
                       frames.begin() + std::ptrdiff_t(at + count));
        }
        if (!WriteSeed(name + "-kept", text, faithful) || !WriteSeed(name + "-any", text, any))
            return 1;
    }
    return 0;
}
#endif
