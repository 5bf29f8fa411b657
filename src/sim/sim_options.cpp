#include "sim/sim_options.h"

#include <charconv>
#include <limits>
#include <optional>

namespace nx5rb {

namespace {

constexpr const char *kUsage
    = R"TEXT(usage: nx5rb-sim [--load FILE.dat] [--save FILE.dat] [--baud N] [--export FILE.dat]
                 [--quiet] [faults]
       nx5rb-sim --replay TRACE [--baud N] [--quiet]

A virtual radio behind a pseudo-terminal. Prints the terminal's path on the first line of its
output, then answers the programming protocol on it until interrupted (SIGINT or SIGTERM).

  --load FILE.dat    start from the memory in FILE.dat instead of the factory memory
  --save FILE.dat    write the memory to FILE.dat after every session that wrote blocks, and on exit
  --baud N           pace the line at N baud, ten bits per byte (default 9600; 0 = no pacing)
  --export FILE.dat  write the memory (factory or loaded) to FILE.dat and exit
  --replay TRACE     answer as the radio recorded in TRACE did: each frame the tool sent there
                     gets the bytes that came back after it; a tool that sends anything else
                     is told where it left the trace, and gets no more answers
  --quiet            no log line per session on standard error
  --help             this text

faults (a count N picks the N-th request of its kind in a session; each fires once):
  --never-answer-entry  never answer the entry string
  --entry-digit C       answer the entry string with the digit C instead of 1
  --nak-on-write N      refuse the N-th write request with NAK
  --bad-reply-byte N    start the N-th data reply with a wrong byte
  --wrong-address N     let the N-th data reply name the next block's address
  --stall-after N       answer nothing more after the N-th block
  --corrupt-write N     store the N-th written block with one byte changed, and acknowledge it
  --repeat-faults       let the faults fire in every session
)TEXT";

constexpr int kMaxBaud = 4'000'000;

std::optional<int> Number(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string Plural(int count, std::string_view word)
{
    return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

} // namespace

SimOptions ParseSimArgs(std::span<const std::string_view> args)
{
    SimOptions options;
    const auto fail = [&options](std::string problem) {
        options.Error = std::move(problem);
        return options;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help") {
            options.Help = true;
            continue;
        }
        if (arg == "--quiet") {
            options.Quiet = true;
            continue;
        }
        if (arg == "--never-answer-entry") {
            options.Faults.NeverAnswerEntry = true;
            continue;
        }
        if (arg == "--repeat-faults") {
            options.Faults.Repeat = true;
            continue;
        }

        std::string *path = arg == "--load" ? &options.LoadPath
            : arg == "--save"               ? &options.SavePath
            : arg == "--export"             ? &options.ExportPath
            : arg == "--replay"             ? &options.ReplayPath
                                            : nullptr;
        int *count = arg == "--nak-on-write" ? &options.Faults.NakOnWrite
            : arg == "--bad-reply-byte"      ? &options.Faults.BadReplyByte
            : arg == "--wrong-address"       ? &options.Faults.WrongAddress
            : arg == "--stall-after"         ? &options.Faults.StallAfter
            : arg == "--corrupt-write"       ? &options.Faults.CorruptWrite
                                             : nullptr;
        const bool baud = arg == "--baud";
        const bool digit = arg == "--entry-digit";
        if (!path && !count && !baud && !digit)
            return fail("unknown option " + std::string(arg));
        if (i + 1 == args.size())
            return fail("option " + std::string(arg) + " needs a value");
        const std::string_view value = args[++i];

        if (path) {
            if (value.empty())
                return fail("option " + std::string(arg) + " needs a file name");
            *path = std::string(value);
        } else if (count) {
            const auto n = Number(value, 1, std::numeric_limits<int>::max());
            if (!n)
                return fail("option " + std::string(arg) + " needs a count of 1 or more");
            *count = *n;
        } else if (baud) {
            const auto n = Number(value, 0, kMaxBaud);
            if (!n)
                return fail("option --baud needs a rate from 0 to " + std::to_string(kMaxBaud));
            options.Baud = *n;
        } else {
            if (value.size() != 1 || value[0] < 0x20 || value[0] > 0x7E)
                return fail("option --entry-digit needs one character");
            options.Faults.EntryDigit = std::uint8_t(value[0]);
        }
    }
    // A replay has no memory to load or keep, and answers only what the trace holds.
    if (!options.ReplayPath.empty()
        && (!options.LoadPath.empty() || !options.SavePath.empty() || !options.ExportPath.empty()
            || options.Faults != RadioFaults {}))
        return fail("option --replay takes no memory or fault options");
    return options;
}

const char *SimUsage()
{
    return kUsage;
}

std::string SessionLogLine(const SessionSummary &summary)
{
    std::string line = "session " + std::to_string(summary.Number) + ": ";
    if (summary.BlocksWritten == 0)
        line += "read " + Plural(summary.BlocksRead, "block");
    else if (summary.BlocksRead == 0)
        line += "wrote " + Plural(summary.BlocksWritten, "block");
    else
        line += "read " + Plural(summary.BlocksRead, "block") + ", wrote "
            + Plural(summary.BlocksWritten, "block");
    if (!summary.Completed)
        line += " (unfinished)";
    return line;
}

} // namespace nx5rb
