#include "link/serial_trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace nx5rb {

namespace {

constexpr std::string_view kToRadio = ">";
constexpr std::string_view kToTool = "<";
constexpr std::string_view kOpen = "open";
constexpr std::string_view kClose = "close";
constexpr std::string_view kLost = "lost";

constexpr std::int64_t kMsPerSecond = 1000;
// More would not fit the milliseconds; no trace runs for thirty thousand years.
constexpr std::size_t kMaxSecondDigits = 12;
constexpr std::size_t kDecimals = 3;
// A trace of every transfer the tool can make is a few hundred kilobytes.
constexpr std::size_t kMaxTraceFileBytes = 64u << 20;

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The next space-separated field of `text`, which loses it and the spaces before it.
std::string_view TakeField(std::string_view &text)
{
    text = TrimSpaces(text);
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end);
    return field;
}

std::optional<std::int64_t> ParseTime(std::string_view field)
{
    const std::size_t dot = field.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > kMaxSecondDigits
        || field.size() - dot - 1 != kDecimals)
        return std::nullopt;
    std::int64_t seconds = 0;
    for (char c : field.substr(0, dot)) {
        if (!IsDigit(c))
            return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    std::int64_t millis = 0;
    for (char c : field.substr(dot + 1)) {
        if (!IsDigit(c))
            return std::nullopt;
        millis = millis * 10 + (c - '0');
    }
    return seconds * kMsPerSecond + millis;
}

// The record on a line that is neither blank nor a comment; the reason when it is not one.
std::optional<std::string> ParseRecord(std::string_view text, TraceLine &line)
{
    const std::string_view time = TakeField(text);
    const std::optional<std::int64_t> ms = ParseTime(time);
    if (!ms)
        return "\"" + std::string(time) + "\" is not a time in seconds with three decimals";
    line.Milliseconds = *ms;

    const std::string_view kind = TakeField(text);
    if (kind == kToRadio || kind == kToTool) {
        line.Event = kind == kToRadio ? TraceEvent::ToRadio : TraceEvent::ToTool;
        for (std::string_view byte = TakeField(text); !byte.empty(); byte = TakeField(text)) {
            const int high = HexValue(byte[0]);
            const int low = byte.size() == 2 ? HexValue(byte[1]) : -1;
            if (high < 0 || low < 0)
                return "\"" + std::string(byte) + "\" is not a byte in two hex digits";
            line.Data.push_back(std::uint8_t(high << 4 | low));
        }
        if (line.Data.empty())
            return "no bytes after \"" + std::string(kind) + "\"";
        return std::nullopt;
    }
    if (kind == kOpen || kind == kLost) {
        line.Event = kind == kOpen ? TraceEvent::Open : TraceEvent::Lost;
        line.Note = std::string(TrimSpaces(text));
        return std::nullopt;
    }
    if (kind == kClose) {
        line.Event = TraceEvent::Close;
        if (!TrimSpaces(text).empty())
            return "nothing may follow \"close\"";
        return std::nullopt;
    }
    if (kind.empty())
        return "no record after the time";
    return "unknown record \"" + std::string(kind) + "\"";
}

std::string SystemReason()
{
    return std::strerror(errno);
}

} // namespace

ParsedTrace ParseTrace(std::string_view text)
{
    ParsedTrace trace;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view content = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!content.empty() && content.back() == '\r')
            content.remove_suffix(1);

        const auto fail = [&](std::string reason) {
            trace.BadLine = number;
            trace.Reason = std::move(reason);
            return trace;
        };
        for (char c : content)
            if (IsControl(c))
                return fail("a control character in the line");
        content = TrimSpaces(content);
        if (content.empty() || content.front() == '#')
            continue;
        TraceLine line;
        line.LineNumber = number;
        if (const std::optional<std::string> reason = ParseRecord(content, line))
            return fail(*reason);
        trace.Lines.push_back(std::move(line));
    }
    return trace;
}

ParsedTrace ReadTraceFile(const std::string &path)
{
    ParsedTrace unreadable;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                          &std::fclose);
    if (!file) {
        unreadable.Reason = SystemReason();
        return unreadable;
    }
    std::string text;
    char chunk[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        text.append(chunk, count);
        if (text.size() > kMaxTraceFileBytes) {
            unreadable.Reason = "the file is larger than any trace the tool writes";
            return unreadable;
        }
    }
    if (std::ferror(file.get())) {
        unreadable.Reason = SystemReason();
        return unreadable;
    }
    return ParseTrace(text);
}

std::string FormatTraceLine(const TraceLine &line)
{
    const std::int64_t ms = std::max<std::int64_t>(line.Milliseconds, 0);
    char time[32];
    std::snprintf(time, sizeof time, "%8lld.%03lld", static_cast<long long>(ms / kMsPerSecond),
                  static_cast<long long>(ms % kMsPerSecond));
    std::string text = time;
    text += ' ';

    const auto appendNote = [&text](std::string_view kind, const std::string &note) {
        text += kind;
        std::string clean = note;
        for (char &c : clean)
            if (IsControl(c))
                c = ' ';
        const std::string_view trimmed = TrimSpaces(clean);
        if (!trimmed.empty()) {
            text += ' ';
            text += trimmed;
        }
    };
    switch (line.Event) {
    case TraceEvent::Open:
        appendNote(kOpen, line.Note);
        break;
    case TraceEvent::Lost:
        appendNote(kLost, line.Note);
        break;
    case TraceEvent::Close:
        text += kClose;
        break;
    case TraceEvent::ToRadio:
    case TraceEvent::ToTool: {
        text += line.Event == TraceEvent::ToRadio ? kToRadio : kToTool;
        constexpr char kDigits[] = "0123456789ABCDEF";
        for (std::uint8_t byte : line.Data) {
            text += ' ';
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xF];
        }
        break;
    }
    }
    return text;
}

TracingPort::TracingPort(SerialPort &port, TraceSink sink, std::string_view tool)
    : port_(port)
    , sink_(std::move(sink))
    , start_(std::chrono::steady_clock::now())
    , wrappedOnComm_(std::move(port.OnComm))
{
    port_.OnComm = [this](CommEvent event) {
        if (event == CommEvent::DeviceLost)
            Record(TraceEvent::Lost, {}, port_.ErrorString());
        if (OnComm)
            OnComm(event);
    };

    const std::time_t now = std::time(nullptr);
    char started[64] = "";
    if (const std::tm *local = std::localtime(&now))
        std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S", local);
    Write("# " + std::string(tool) + " serial trace, started " + started);
    Write("# seconds since the start; > tool to radio, < radio to tool (hex); open, close, lost");
}

TracingPort::~TracingPort()
{
    port_.OnComm = std::move(wrappedOnComm_);
}

bool TracingPort::SetPortOpen(bool open)
{
    const bool wasOpen = port_.PortOpen();
    const bool done = port_.SetPortOpen(open);
    if (open && done && !wasOpen)
        Record(TraceEvent::Open, {}, port_.Description());
    else if (open && !done)
        Write("# " + FormatTraceLine({0, Elapsed(), TraceEvent::Open, {}, port_.Description()})
              + " failed: " + port_.ErrorString());
    else if (!open && wasOpen && !port_.PortOpen())
        Record(TraceEvent::Close);
    return done;
}

void TracingPort::Output(std::span<const std::uint8_t> bytes)
{
    // A closed port sends nothing; the trace keeps to what went on the line.
    if (port_.PortOpen() && !bytes.empty())
        Record(TraceEvent::ToRadio, bytes);
    port_.Output(bytes);
}

Bytes TracingPort::Input()
{
    Bytes bytes = port_.Input();
    if (!bytes.empty())
        Record(TraceEvent::ToTool, bytes);
    return bytes;
}

void TracingPort::Record(TraceEvent event, std::span<const std::uint8_t> data, std::string note)
{
    Write(FormatTraceLine({0, Elapsed(), event, Bytes(data.begin(), data.end()), std::move(note)}));
}

std::int64_t TracingPort::Elapsed() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now()
                                                                 - start_)
        .count();
}

void TracingPort::Write(std::string_view line)
{
    if (!traceError_.empty() || !sink_)
        return;
    if (std::optional<std::string> reason = sink_(line))
        traceError_ = std::move(*reason);
}

TracingPortResult TraceToFile(SerialPort &port, const std::string &path, std::string_view tool)
{
    std::shared_ptr<std::FILE> file(std::fopen(path.c_str(), "w"), [](std::FILE *opened) {
        if (opened)
            std::fclose(opened);
    });
    if (!file)
        return {nullptr, SystemReason()};
    // Flushed line by line: the trace of a run that crashes is the one most worth having.
    TraceSink sink = [file](std::string_view line) -> std::optional<std::string> {
        if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()
            || std::fputc('\n', file.get()) == EOF || std::fflush(file.get()) != 0)
            return SystemReason();
        return std::nullopt;
    };
    auto traced = std::make_unique<TracingPort>(port, std::move(sink), tool);
    if (!traced->TraceError().empty())
        return {nullptr, traced->TraceError()};
    return {std::move(traced), {}};
}

} // namespace nx5rb
