// The session's transfers, with the link's receive handler, timers and prompts, driven by arbitrary
// input. The first byte picks one of the fourteen transfer commands (and, with its top bit, a port
// that cannot be opened); every message box takes its answer from the next byte; the rest is a
// script of what happens on the line, in the event loop and at the buttons:
//
//   op & 7   what happens                                       parameter (op >> 3)
//   0        bytes arrive from nowhere (noise, a foreign device)  count - 1, bytes follow
//   1        the virtual radio's answer arrives, in full or part  bytes (0: all waiting)
//   2        its answer arrives with one byte damaged             position and mask follow
//   3        Timer1 ticks (if enabled)
//   4        Timer2 ticks (if enabled)
//   5        the device goes away (cable pulled)
//   6        the radio's waiting answer is lost on the line
//   7        the user clicks the command's button again, after      odd: 中止 first
//            中止 or not
//
// Invariants: LinkState stays within 0..4 and is 0 exactly when no transfer runs (port closed,
// timers off, progress hidden, the session not busy); a click while a transfer runs is refused
// (no question, nothing sent, the transfer goes on); 中止 leaves no transfer running; the tool asks
// only for the blocks its command moves, in its direction; a completed read leaves 0xF9F at 0x58
// and changes only the blocks it moved; a read that did not complete leaves the image exactly as
// it was; a write never changes the image beyond the refresh its command makes. A write outside
// the image's 4096 bytes is caught by AddressSanitizer when it leaves the session, by the tune
// buffer after the image when a read does not complete, and by the file header further on.
#include "app/session.h"
#include "app/transfer_commands.h"
#include "invariant.h"
#include "sim/factory_memory.h"
#include "sim/virtual_radio.h"
#include "support/fake_timer.h"
#include "support/manual_pump.h"
#include "support/recording_prompt.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace nx5rb;

constexpr int kCommandCount = 14;
constexpr std::size_t kReadRequestLength = radio_frame::kRequestLength;
constexpr std::uint8_t kPortFailsBit = 0x80;

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

class Script
{
public:
    explicit Script(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    { }

    std::optional<std::uint8_t> Next()
    {
        if (at_ == bytes_.size())
            return std::nullopt;
        return bytes_[at_++];
    }

    Bytes Take(std::size_t count)
    {
        count = std::min(count, bytes_.size() - at_);
        Bytes taken(bytes_.begin() + std::ptrdiff_t(at_),
                    bytes_.begin() + std::ptrdiff_t(at_ + count));
        at_ += count;
        return taken;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A serial port whose far end is the virtual radio; its answers wait on the line until the
// script lets them arrive.
class ScriptedPort final : public SerialPort
{
public:
    explicit ScriptedPort(bool opens)
        : opens_(opens)
    { }

    bool PortOpen() const override { return open_; }
    bool SetPortOpen(bool open) override
    {
        if (open && !opens_)
            return false;
        open_ = open;
        buffer_.clear();
        line_.clear();
        return true;
    }
    std::string ErrorString() const override { return opens_ ? "" : "No such file or directory"; }
    void SetRThreshold(int bytes) override
    {
        threshold_ = bytes;
        // As the real port does: bytes already waiting raise the event from the loop.
        eventDue_ = threshold_ > 0 && int(buffer_.size()) >= threshold_;
    }
    int RThreshold() const override { return threshold_; }
    void Output(std::span<const std::uint8_t> bytes) override
    {
        Check(open_, "nothing is sent while the port is closed");
        if (OnSent)
            OnSent(bytes);
        const Bytes answer = radio_.Receive(bytes);
        line_.insert(line_.end(), answer.begin(), answer.end());
    }
    Bytes Input() override
    {
        Bytes taken;
        taken.swap(buffer_);
        return taken;
    }
    int InBufferCount() const override { return int(buffer_.size()); }
    std::string Description() const override { return "script"; }

    // Every frame the tool sends, as it leaves.
    std::function<void(std::span<const std::uint8_t>)> OnSent;

    void Arrive(const Bytes &bytes)
    {
        if (!open_)
            return;
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        RaiseIfReached();
    }
    // The first `count` bytes of the radio's answer (all of it for 0), one of them damaged.
    void DeliverFromRadio(std::size_t count, std::size_t damaged = 0, std::uint8_t mask = 0)
    {
        if (count == 0 || count > line_.size())
            count = line_.size();
        Bytes bytes(line_.begin(), line_.begin() + std::ptrdiff_t(count));
        line_.erase(line_.begin(), line_.begin() + std::ptrdiff_t(count));
        if (!bytes.empty())
            bytes[damaged % bytes.size()] ^= mask;
        Arrive(bytes);
    }
    void LoseLine() { line_.clear(); }
    void LoseDevice()
    {
        if (!open_)
            return;
        open_ = false;
        buffer_.clear();
        line_.clear();
        if (OnComm)
            OnComm(CommEvent::DeviceLost);
    }
    // The event the loop raises for bytes that were waiting when the threshold was set.
    void RaiseDueEvent()
    {
        if (eventDue_) {
            eventDue_ = false;
            RaiseIfReached();
        }
    }

private:
    void RaiseIfReached()
    {
        if (threshold_ > 0 && int(buffer_.size()) >= threshold_ && OnComm)
            OnComm(CommEvent::Receive);
    }

    bool opens_;
    bool open_ = false;
    int threshold_ = 0;
    bool eventDue_ = false;
    Bytes buffer_;
    Bytes line_; // the radio's answer on its way
    VirtualRadio radio_ {FactoryMemory()};
};

// A message box answered from the script; once it runs out, every box is cancelled.
PromptAnswer ScriptedAnswer(Script &script, const PromptMessage &message)
{
    const std::optional<std::uint8_t> answer = script.Next();
    const bool first = answer && (*answer & 1) == 0;
    switch (message.buttons) {
    case PromptButtons::OkCancel:
        return first ? PromptAnswer::Ok : PromptAnswer::Cancel;
    case PromptButtons::RetryCancel:
        return first ? PromptAnswer::Retry : PromptAnswer::Cancel;
    case PromptButtons::YesNoCancel:
        return PromptAnswer::Cancel;
    case PromptButtons::Ok:
        break;
    }
    return PromptAnswer::Ok;
}

// Image bytes a completed read may change: the band information and the blocks it moved, the
// repair of bands A and B, the settings marker and the byte-9 adjustment.
std::vector<bool> ReadMayChange(const std::vector<std::uint16_t> &plan)
{
    std::vector<bool> may(mm::kImageSize, false);
    const auto mark = [&may](std::size_t from, std::size_t count) {
        for (std::size_t at = from; at < from + count && at < may.size(); ++at)
            may[at] = true;
    };
    mark(mm::kFreqAreaBlock, mm::kFreqAreaBlockSize);
    for (std::uint16_t block : plan)
        mark(block, mm::kBlockSize);
    constexpr std::size_t kRepairedSettingsBytes = 4;
    mark(mm::kSettingsBlock[0], kRepairedSettingsBytes);
    mark(mm::kSettingsBlock[1], kRepairedSettingsBytes);
    mark(mm::kSettingsMarker, 1);
    mark(mm::kBandBSettingsByte9, 1);
    return may;
}

void CheckLinkState(const Session &session, const ScriptedPort &port, const test::FakeTimer &timer1,
                    const test::FakeTimer &timer2)
{
    const Link &link = session.LinkLayer();
    Check(link.LinkState() >= LinkPhase::Idle && link.LinkState() <= LinkPhase::ReadRequested,
          "LinkState stays within its five states");
    const bool running = link.LinkState() != LinkPhase::Idle;
    Check(running == port.PortOpen(), "the port is open exactly while a transfer runs");
    Check(running == (link.Outcome() == TransferOutcome::Running),
          "the outcome says running exactly while LinkState is not 0");
    Check(running == link.Progress().visible, "the progress shows exactly while a transfer runs");
    Check(running == session.Busy(), "the session is busy exactly while a transfer runs");
    if (!running)
        Check(!timer1.Enabled() && !timer2.Enabled(), "no timer runs between transfers");
}

struct Run
{
    explicit Run(std::span<const std::uint8_t> input, std::uint8_t first)
        : script(input)
        , port((first & kPortFailsBit) == 0)
        , command(TransferCommand((first & ~kPortFailsBit) % kCommandCount))
    {
        prompt.AnswerWith
            = [this](const PromptMessage &message) { return ScriptedAnswer(script, message); };
    }

    Script script;
    ScriptedPort port;
    test::FakeTimer timer1;
    test::FakeTimer timer2;
    test::RecordingPrompt prompt;
    // No window: the write-all's wait and pause return at once; its transfer runs on the script.
    test::ManualPump pump {[] { return false; }};
    // The session as the window holds one, its safety net off. On the heap of its own, so that a
    // write past the end of the window's state meets AddressSanitizer's red zone.
    std::unique_ptr<Session> owned
        = std::make_unique<Session>(SessionSeams {port, timer1, timer2, prompt, pump});
    Session &session = *owned;
    const WindowState &state = session.State();
    TransferCommand command;
};

void Fuzz(std::span<const std::uint8_t> input)
{
    if (input.empty())
        return;
    Run run(input.subspan(1), input[0]);
    const bool read = IsRead(run.command);
    const RadioImage startImage = run.state.Image;
    const TuneBufferBytes startTuneBuffer = run.state.TuneBuffer;
    const FileHeaderBytes startHeader = run.state.FileHeader;
    bool readCompleted = false;
    run.session.OnTransferFinished = [&](const TransferResult &result) {
        if (!result.read || result.outcome != TransferOutcome::Completed)
            return;
        readCompleted = true;
        Check(run.state.Image[mm::kSettingsMarker] == mm::kSettingsMarkerValue,
              "a completed read leaves the settings marker set");
    };

    // The blocks the command moves; a request for any other block, or in the other direction, is
    // wrong.
    const std::vector<std::uint16_t> plan = CommandRequest(run.command).blocks;
    const std::set<std::uint16_t> planned(plan.begin(), plan.end());
    std::size_t framesSent = 0;
    // A click on the command's button, as the window passes it to the session: refused while a
    // transfer runs.
    const auto click = [&run, &framesSent] {
        const bool busy = run.session.Busy();
        const LinkPhase phase = run.session.LinkLayer().LinkState();
        const std::size_t asked = run.prompt.Shown.size();
        const std::size_t sent = framesSent;
        run.session.RunTransfer(run.command);
        if (!busy)
            return;
        Check(run.prompt.Shown.size() == asked && framesSent == sent
                  && run.session.LinkLayer().LinkState() == phase,
              "a click while a transfer runs is refused: no question, nothing sent");
    };
    run.port.OnSent = [&](std::span<const std::uint8_t> frame) {
        ++framesSent;
        const bool readRequest
            = frame.size() == kReadRequestLength && frame[0] == radio_frame::kRead;
        const bool writeRequest
            = frame.size() == radio_frame::kWriteLength && frame[0] == radio_frame::kWrite;
        if (!readRequest && !writeRequest)
            return;
        Check(readRequest == read, "a read sends only read requests, a write only write requests");
        Check(planned.count(std::uint16_t(frame[1] << 8 | frame[2])) == 1,
              "the tool asks only for the blocks its command moves");
    };

    click();
    RadioImage refreshed = run.state.Image; // a write's image after its command's refresh
    CheckLinkState(run.session, run.port, run.timer1, run.timer2);

    while (const std::optional<std::uint8_t> op = run.script.Next()) {
        run.port.RaiseDueEvent();
        const std::size_t parameter = *op >> 3;
        switch (*op & 7) {
        case 0:
            run.port.Arrive(run.script.Take(parameter + 1));
            break;
        case 1:
            run.port.DeliverFromRadio(parameter);
            break;
        case 2: {
            const std::size_t position = run.script.Next().value_or(0);
            run.port.DeliverFromRadio(parameter, position, run.script.Next().value_or(1));
            break;
        }
        case 3:
            run.timer1.Fire();
            break;
        case 4:
            run.timer2.Fire();
            break;
        case 5:
            run.port.LoseDevice();
            break;
        case 6:
            run.port.LoseLine();
            break;
        case 7:
            if (parameter & 1) {
                run.session.Abort();
                Check(!run.session.Busy(), "中止 leaves no transfer running");
            }
            click();
            if (!read)
                refreshed = run.state.Image;
            break;
        }
        CheckLinkState(run.session, run.port, run.timer1, run.timer2);
    }

    // Only opening a file changes the header; a write past the image's end may reach it.
    Check(run.state.FileHeader == startHeader, "no transfer changes the file header");
    if (!read) {
        Check(run.state.Image == refreshed, "a write does not change the image");
        return;
    }
    if (!readCompleted) {
        Check(run.state.Image == startImage, "a read that did not complete leaves the image");
        Check(run.state.TuneBuffer == startTuneBuffer,
              "a read that did not complete leaves the tune buffer");
        return;
    }
    Check(run.state.Image[mm::kSettingsMarker] == mm::kSettingsMarkerValue,
          "a completed read leaves the settings marker set");
    const std::vector<bool> may = ReadMayChange(plan);
    for (std::size_t at = 0; at < mm::kImageSize; ++at)
        Check(may[at] || run.state.Image[at] == startImage[at],
              "a completed read changes only the blocks it moved");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz(std::span<const std::uint8_t>(data, size));
    return 0;
}

#ifdef NX5RB_RECEIVE_SEEDS
// Seeds: every command confirmed and answered in full by the radio, one answer per step.
#include <fstream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    constexpr std::uint8_t kConfirm = 0;
    constexpr std::uint8_t kRadioAnswers = 1;
    // A channel read takes two answers per block, 128 blocks, plus the handshake.
    constexpr int kSteps = 2 * mm::kChannelCount + 8;
    for (int command = 0; command < kCommandCount; ++command) {
        std::vector<std::uint8_t> seed = {std::uint8_t(command), kConfirm};
        seed.insert(seed.end(), kSteps, kRadioAnswers);
        const std::string path = std::string(argv[1]) + "/command-" + std::to_string(command);
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char *>(seed.data()), std::streamsize(seed.size()));
        if (!file) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
#endif
