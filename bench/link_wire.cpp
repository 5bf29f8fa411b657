// How close a transfer comes to the time its bytes need on the wire. Drives the tool's real session
// (port object on a device path, Qt timers, the event loop) against a radio on PORT, times each
// command from its start to its end, and compares the best run with the time every byte of the
// exchange takes in both directions at 10 bits per byte. A checked write counts all its transfers:
// the look at the radio, the write and the read-back. The writes of changes only start from what a
// read of the radio (not timed) left in the tool, with one tune value or three channels changed.
//
//   link_wire_bench --port PATH [--runs N] [--baud B] [--limit R]
//
// Exits 1 when a ratio exceeds the limit, 2 on misuse or a transfer that does not complete.
#include "app/comm_port.h"
#include "app/session.h"
#include "app/transfer_commands.h"
#include "link/link_protocol.h"
#include "link/qt/qt_event_pump.h"
#include "link/qt/qt_link_timer.h"
#include "link/transfer_plan.h"
#include "support/recording_prompt.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <QCoreApplication>
#include <QTimer>

namespace {

using namespace nx5rb;
using Clock = std::chrono::steady_clock;

// Bytes of one exchange on the line.
constexpr int kReadBlockBytes = 4 + 4 + mm::kBlockSize + 1 + 1; // request, reply, ACK, ACK
constexpr int kWriteBlockBytes = 4 + mm::kBlockSize + 1; // request with the data, ACK
// What every transfer begins and ends with: entry, its reply, the band information request and
// reply, the end.
constexpr int kOpeningBytes = 7 + 3 + 1 + mm::kFreqAreaBlockSize + 1;
constexpr int kBitsPerByte = 10;
constexpr int kCeilingMs = 60'000;

// Every byte that crosses the line in either direction, counted where the link meets the port.
class CountingPort final : public SerialPort
{
public:
    explicit CountingPort(SerialPort &port)
        : port_(port)
    {
        port_.OnComm = [this](CommEvent event) {
            if (OnComm)
                OnComm(event);
        };
    }

    bool PortOpen() const override { return port_.PortOpen(); }
    bool SetPortOpen(bool open) override { return port_.SetPortOpen(open); }
    std::string ErrorString() const override { return port_.ErrorString(); }
    void SetRThreshold(int bytes) override { port_.SetRThreshold(bytes); }
    int RThreshold() const override { return port_.RThreshold(); }
    void Output(std::span<const std::uint8_t> bytes) override
    {
        sent += int(bytes.size());
        events.push_back({Clock::now(), true, int(bytes.size())});
        port_.Output(bytes);
    }
    Bytes Input() override
    {
        Bytes bytes = port_.Input();
        received += int(bytes.size());
        events.push_back({Clock::now(), false, int(bytes.size())});
        return bytes;
    }
    int InBufferCount() const override { return port_.InBufferCount(); }
    std::string Description() const override { return port_.Description(); }

    struct Event
    {
        Clock::time_point at;
        bool output;
        int bytes;
    };

    int sent = 0;
    int received = 0;
    std::vector<Event> events;

private:
    SerialPort &port_;
};

// What the tool holds before the timed command.
enum class Start {
    StartUp, // the start-up image: another radio as far as the calibration goes
    OneTuneValue, // the radio's read-all blocks, one band A tune value changed
    ThreeChannelsSince, // the radio's read-all blocks and channels, three changed, the radio known
};

struct Transfer
{
    const char *name;
    TransferCommand command;
    bool checked; // a write with the look at the radio before it and the read-back after it
    bool changesOnly; // only the blocks that differ from the radio's are sent
    Start start;
    // What crosses the line: transfers (each with its opening and end), blocks read and written.
    int sessions;
    int blocksRead;
    int blocksWritten;
    int maxRuns; // a long baseline runs once
};

// Where the time beyond the wire goes, summed over one transfer: in the tool (a reply taken to
// the next frame sent) and on the far side of the port (a frame sent to its reply taken, less the
// wire time of both: the radio's own latency, the terminal, and the delivery of the reply up to
// the receive handler).
struct Overhead
{
    double toolMs = 0;
    double farSideMs = 0;
    double medianFarSideMs = 0;
    double worstFarSideMs = 0;
    int exchanges = 0;
};

struct Timing
{
    bool completed = false;
    double ms = 0;
    int bytes = 0;
    Overhead overhead;
};

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

Overhead Analyse(const std::vector<CountingPort::Event> &events, int baud)
{
    Overhead overhead;
    std::vector<double> farSide;
    for (std::size_t i = 1; i < events.size(); ++i) {
        const auto &before = events[i - 1];
        const auto &after = events[i];
        const double gap = Ms(after.at - before.at);
        if (!before.output && after.output) {
            overhead.toolMs += gap;
        } else if (before.output && !after.output) {
            const double wireMs = 1000.0 * (before.bytes + after.bytes) * kBitsPerByte / baud;
            farSide.push_back(gap - wireMs);
            overhead.farSideMs += gap - wireMs;
        }
    }
    overhead.exchanges = int(farSide.size());
    if (!farSide.empty()) {
        std::sort(farSide.begin(), farSide.end());
        overhead.medianFarSideMs = farSide[farSide.size() / 2];
        overhead.worstFarSideMs = farSide.back();
    }
    return overhead;
}

// One command on a fresh tool, timed from the click to its end.
Timing TimeTransfer(const std::string &device, const Transfer &transfer, int baud)
{
    CommPort commPort;
    commPort.SetCommPort(ParsePortArgument(device).value_or(PortSelection()));
    CountingPort port(commPort);
    QtLinkTimer timer1;
    QtLinkTimer timer2;
    // Confirmations taken; anything else is reported and ends the transfer.
    test::RecordingPrompt prompt;
    prompt.AnswerWith = [](const PromptMessage &message) {
        if (message.buttons != PromptButtons::OkCancel)
            std::fprintf(stderr, "link_wire_bench: %s\n", message.text.c_str());
        return message.buttons == PromptButtons::RetryCancel ? PromptAnswer::Cancel
                                                             : PromptAnswer::Ok;
    };
    QtEventPump pump(false);
    SessionOptions options;
    if (transfer.checked) {
        options.guard = CalibrationGuard::Overwrite;
        options.verify = true;
    }
    options.changedBlocksOnly = transfer.changesOnly;
    Session session({port, timer1, timer2, prompt, pump}, options);
    RadioImage known {};
    if (transfer.start != Start::StartUp) {
        // What the radio holds, as a read leaves it in the tool; not timed, not counted.
        if (session.RunTransferToEnd(TransferCommand::ReadAll) != TransferOutcome::Completed)
            return {};
        WindowState &state = session.State();
        if (transfer.start == Start::OneTuneValue) {
            state.Image[mm::kTuneBlock[0] + mm::kTuneHighPower + 1] ^= 0x01;
        } else {
            if (session.RunTransferToEnd(TransferCommand::ReadChannelInfo)
                != TransferOutcome::Completed)
                return {};
            known = state.Image;
            session.Options().knownRadio = &known;
            for (const int channel : {1, 64, 128})
                state.Image[mm::ChannelRecord(channel) + mm::kChReserved] ^= 0x01;
        }
        port.sent = port.received = 0;
        port.events.clear();
    }
    QTimer ceiling;
    ceiling.setSingleShot(true);
    QObject::connect(&ceiling, &QTimer::timeout, [&session] { session.Abort(); });
    ceiling.start(kCeilingMs);

    const Clock::time_point start = Clock::now();
    const TransferOutcome outcome = session.RunTransferToEnd(transfer.command);
    const Clock::time_point end = Clock::now();
    Timing timing;
    timing.completed = outcome == TransferOutcome::Completed;
    timing.ms = Ms(end - start);
    timing.bytes = port.sent + port.received;
    timing.overhead = Analyse(port.events, baud);
    return timing;
}

// The blocks of every transfer of the command, and the bytes they take on the line.
int Blocks(const Transfer &transfer)
{
    return transfer.blocksRead + transfer.blocksWritten;
}

int WireBytes(const Transfer &transfer)
{
    return transfer.sessions * kOpeningBytes + transfer.blocksRead * kReadBlockBytes
        + transfer.blocksWritten * kWriteBlockBytes;
}

int Usage(const char *problem)
{
    std::fprintf(stderr,
                 "link_wire_bench: %s\nusage: link_wire_bench --port PATH [--runs N] [--baud B] "
                 "[--limit R]\n",
                 problem);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::string device;
    int runs = 3;
    int baud = 9600;
    double limit = 1.05;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 == argc)
            return Usage("every option needs a value");
        const char *value = argv[++i];
        if (arg == "--port")
            device = value;
        else if (arg == "--runs")
            runs = std::atoi(value);
        else if (arg == "--baud")
            baud = std::atoi(value);
        else if (arg == "--limit")
            limit = std::atof(value);
        else
            return Usage("unknown option");
    }
    if (device.empty() || runs < 1 || baud < 1 || limit <= 0)
        return Usage("--port is required; runs, baud and limit must be positive");

    TransferFlags all;
    all.WantAll = true;
    TransferFlags channels;
    channels.WantChannels = true;
    const int readAll = int(PlanBlocks(all, true).size());
    const int readChannels = int(PlanBlocks(channels, true).size());
    const int look = int(RadioLookBlocks().size());
    const int writeAll = int(WriteBlocks(TransferCommand::WriteAll).size());
    const int writeA = int(WriteBlocks(TransferCommand::WriteA).size());
    const int writeChannels = int(WriteBlocks(TransferCommand::WriteChannelInfo).size());
    const int knownBlocks = mm::kTuneBlockSize / mm::kBlockSize; // band A's tune block
    const int many = std::numeric_limits<int>::max();
    using C = TransferCommand;
    const Transfer transfers[] = {
        {"read all", C::ReadAll, false, false, Start::StartUp, 1, readAll, 0, many},
        {"read channels", C::ReadChannelInfo, false, false, Start::StartUp, 1, readChannels, 0,
         many},
        {"write all, checked", C::WriteAll, true, false, Start::StartUp, 3, look + writeAll,
         writeAll, many},
        {"write band-a, checked", C::WriteA, true, false, Start::StartUp, 3, look + writeA, writeA,
         many},
        {"band-a, 1 tune value", C::WriteA, true, true, Start::OneTuneValue, 3, look + 1, 1, many},
        {"write channels, checked", C::WriteChannelInfo, true, false, Start::StartUp, 2,
         writeChannels, writeChannels, 1},
        {"3 channels, --since", C::WriteChannelInfo, true, true, Start::ThreeChannelsSince, 3,
         knownBlocks + 3, 3, many},
    };

    std::printf("%-24s %6s %6s %10s %12s %7s\n", "transfer", "blocks", "bytes", "bound ms",
                "measured ms", "ratio");
    bool withinLimit = true;
    std::vector<std::string> breakdown;
    for (const Transfer &transfer : transfers) {
        const int bytes = WireBytes(transfer);
        const double boundMs = 1000.0 * bytes * kBitsPerByte / baud;
        Timing best;
        best.ms = std::numeric_limits<double>::infinity();
        for (int run = 0; run < std::min(runs, transfer.maxRuns); ++run) {
            const Timing timing = TimeTransfer(device, transfer, baud);
            if (!timing.completed) {
                std::fprintf(stderr, "link_wire_bench: %s did not complete\n", transfer.name);
                return 2;
            }
            if (timing.bytes != bytes) {
                std::fprintf(stderr, "link_wire_bench: %s moved %d bytes, not %d\n", transfer.name,
                             timing.bytes, bytes);
                return 2;
            }
            if (timing.ms < best.ms)
                best = timing;
        }
        const double ratio = best.ms / boundMs;
        withinLimit = withinLimit && ratio <= limit;
        std::printf("%-24s %6d %6d %10.1f %12.1f %7.3f\n", transfer.name, Blocks(transfer), bytes,
                    boundMs, best.ms, ratio);

        const Overhead &o = best.overhead;
        char line[256];
        std::snprintf(line, sizeof line,
                      "%s: %.1f ms beyond the wire = tool %.1f ms + far side %.1f ms over %d "
                      "exchanges (median %.3f ms, worst %.3f ms) + open and end %.1f ms",
                      transfer.name, best.ms - boundMs, o.toolMs, o.farSideMs, o.exchanges,
                      o.medianFarSideMs, o.worstFarSideMs,
                      best.ms - boundMs - o.toolMs - o.farSideMs);
        breakdown.emplace_back(line);
    }
    for (const std::string &line : breakdown)
        std::printf("%s\n", line.c_str());
    std::printf("best of %d runs at %d baud; limit: ratio <= %.2f\n", runs, baud, limit);
    if (!withinLimit) {
        std::fprintf(stderr,
                     "link_wire_bench: FAIL: a transfer took more than %.2f times its "
                     "wire time\n",
                     limit);
        return 1;
    }
    return 0;
}
