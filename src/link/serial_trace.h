// A record of everything that crossed the serial line, for bug reports and for replaying a radio's
// answers later. The trace is plain text, one record per line:
//
//   # comment (the tool writes a header of these; blank lines are ignored too)
//       0.000 open /dev/ttyUSB0        the port was opened; the rest of the line names it
//       0.002 > 52 44 51 34 37 31 36   bytes the tool sent in one Output()
//       0.019 < 00 06 31               bytes one Input() handed to the tool
//       1.204 close                    the port was closed; opens and closes separate transfers
//       3.517 lost Input/output error  the device went away; the rest of the line is its reason
//
// The first field is the time since the trace started, in seconds with exactly three decimals
// (milliseconds). Fields are separated by spaces; bytes are two hex digits each, either case.
// Control characters are not allowed anywhere in a line (a CR before the line end is).
#pragma once

#include "link/serial_port.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

enum class TraceEvent {
    Open, // Note: what the port stands for
    Close,
    Lost, // Note: the system's reason
    ToRadio, // Data: one Output()
    ToTool, // Data: one Input()
};

struct TraceLine
{
    int LineNumber = 0; // in the text, from 1; 0 for a record not read from text
    std::int64_t Milliseconds = 0;
    TraceEvent Event = TraceEvent::Open;
    Bytes Data;
    std::string Note;

    bool operator==(const TraceLine &) const = default;
};

struct ParsedTrace
{
    std::vector<TraceLine> Lines; // the records, comments and blank lines left out
    int BadLine = 0; // the first line that is not a record, from 1; 0 when there is none
    // What is wrong with that line, or why the file could not be read; empty when all was read.
    std::string Reason;
};

// Reads a trace. On the first bad line, Lines holds the records before it.
ParsedTrace ParseTrace(std::string_view text);
// Reads the trace file at `path`; an unreadable file leaves BadLine 0 and the system's reason.
ParsedTrace ReadTraceFile(const std::string &path);

// The line of a record, without its line end. Control characters in a note become spaces.
std::string FormatTraceLine(const TraceLine &line);

// Takes one line (without its line end); returns the system's reason when it cannot be written.
using TraceSink = std::function<std::optional<std::string>(std::string_view line)>;

// A serial port that forwards everything to the port it wraps and writes what crosses the line to
// a trace. It takes over the wrapped port's OnComm (and hands it back when destroyed), so the link
// sets OnComm on the wrapper only. The wrapped port must outlive the wrapper.
class TracingPort final : public SerialPort
{
public:
    // Writes a comment header naming the tool (program and version); the clock starts now.
    TracingPort(SerialPort &port, TraceSink sink, std::string_view tool = "nx5rb");
    ~TracingPort() override;
    TracingPort(const TracingPort &) = delete;
    TracingPort &operator=(const TracingPort &) = delete;

    bool PortOpen() const override { return port_.PortOpen(); }
    bool SetPortOpen(bool open) override;
    std::string ErrorString() const override { return port_.ErrorString(); }
    void SetRThreshold(int bytes) override { port_.SetRThreshold(bytes); }
    int RThreshold() const override { return port_.RThreshold(); }
    void Output(std::span<const std::uint8_t> bytes) override;
    Bytes Input() override;
    int InBufferCount() const override { return port_.InBufferCount(); }
    std::string Description() const override { return port_.Description(); }

    // The first failure to write the trace; nothing more is written after it. Empty while well.
    const std::string &TraceError() const { return traceError_; }

private:
    void Record(TraceEvent event, std::span<const std::uint8_t> data = {}, std::string note = {});
    void Write(std::string_view line);
    std::int64_t Elapsed() const; // milliseconds since the trace started

    SerialPort &port_;
    TraceSink sink_;
    std::chrono::steady_clock::time_point start_;
    std::function<void(CommEvent)> wrappedOnComm_; // given back when the wrapper goes
    std::string traceError_;
};

// A trace file at `path` (created or emptied) around `port`, or the system's reason.
struct TracingPortResult
{
    std::unique_ptr<TracingPort> Port; // null on failure
    std::string Reason;
};
TracingPortResult TraceToFile(SerialPort &port, const std::string &path,
                              std::string_view tool = "nx5rb");

} // namespace nx5rb
