#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace nx5rb {

namespace {

constexpr int kMaxBaud = 4'000'000;

std::optional<int> Number(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// An argument as the parser holds it: every byte one character, so that a file name comes back
// exactly as it was given.
QString Held(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string Given(const QString &text)
{
    return text.toLatin1().toStdString();
}

std::optional<std::string> Set(bool &flag)
{
    flag = true;
    return std::nullopt;
}

std::optional<std::string> StoreFile(std::string &file, std::string_view value)
{
    if (value.empty())
        return "needs a file name";
    file = std::string(value);
    return std::nullopt;
}

std::optional<std::string> StoreCount(int &count, std::string_view value)
{
    const auto n = Number(value, 1, std::numeric_limits<int>::max());
    if (!n)
        return "needs a count of 1 or more";
    count = *n;
    return std::nullopt;
}

constexpr const char *kAbout = R"TEXT(usage: nx5rb-sim [options] [faults]

A virtual radio behind a pseudo-terminal. Prints the terminal's path on the first line of its
output, then answers the programming protocol on it until interrupted (SIGINT or SIGTERM).
With --replay it answers as a recorded radio did, and takes no memory or fault options.
)TEXT";

constexpr const char *kFaultsHeading
    = "\nfaults (a count N picks the N-th request of its kind in a session; each fires once):\n";

// Where the options' descriptions start in the help.
constexpr std::size_t kDescriptionColumn = 24;

using Problem = std::optional<std::string>;

constexpr SimOptionRow kOptions[] = {
    {"load", "FILE.dat", "start from the memory in FILE.dat instead of the factory memory", false,
     [](SimOptions &o, std::string_view v) { return StoreFile(o.LoadPath, v); }},
    {"save", "FILE.dat",
     "write the memory to FILE.dat after every session that wrote blocks,\nand on exit", false,
     [](SimOptions &o, std::string_view v) { return StoreFile(o.SavePath, v); }},
    {"baud", "N", "pace the line at N baud, ten bits per byte (default 9600; 0 = no pacing)", false,
     [](SimOptions &o, std::string_view v) -> Problem {
         const auto n = Number(v, 0, kMaxBaud);
         if (!n)
             return "needs a rate from 0 to " + std::to_string(kMaxBaud);
         o.Baud = *n;
         return std::nullopt;
     }},
    {"export", "FILE.dat", "write the memory (factory or loaded) to FILE.dat and exit", false,
     [](SimOptions &o, std::string_view v) { return StoreFile(o.ExportPath, v); }},
    {"replay", "TRACE",
     "answer as the radio recorded in TRACE did: each frame the tool sent there\n"
     "gets the bytes that came back after it; a tool that sends anything else\n"
     "is told where it left the trace, and gets no more answers",
     false, [](SimOptions &o, std::string_view v) { return StoreFile(o.ReplayPath, v); }},
    {"quiet", "", "no log line per session on standard error", false,
     [](SimOptions &o, std::string_view) { return Set(o.Quiet); }},
    {"help", "", "this text", false, [](SimOptions &o, std::string_view) { return Set(o.Help); }},
    {"never-answer-entry", "", "never answer the entry string", true,
     [](SimOptions &o, std::string_view) { return Set(o.Faults.NeverAnswerEntry); }},
    {"entry-digit", "C", "answer the entry string with the digit C instead of 1", true,
     [](SimOptions &o, std::string_view v) -> Problem {
         if (v.size() != 1 || v[0] < 0x20 || v[0] > 0x7E)
             return "needs one character";
         o.Faults.EntryDigit = std::uint8_t(v[0]);
         return std::nullopt;
     }},
    {"nak-on-write", "N", "refuse the N-th write request with NAK", true,
     [](SimOptions &o, std::string_view v) { return StoreCount(o.Faults.NakOnWrite, v); }},
    {"bad-reply-byte", "N", "start the N-th data reply with a wrong byte", true,
     [](SimOptions &o, std::string_view v) { return StoreCount(o.Faults.BadReplyByte, v); }},
    {"wrong-address", "N", "let the N-th data reply name the next block's address", true,
     [](SimOptions &o, std::string_view v) { return StoreCount(o.Faults.WrongAddress, v); }},
    {"stall-after", "N", "answer nothing more after the N-th block", true,
     [](SimOptions &o, std::string_view v) { return StoreCount(o.Faults.StallAfter, v); }},
    {"corrupt-write", "N", "store the N-th written block with one byte changed, and acknowledge it",
     true, [](SimOptions &o, std::string_view v) { return StoreCount(o.Faults.CorruptWrite, v); }},
    {"repeat-faults", "", "let the faults fire in every session", true,
     [](SimOptions &o, std::string_view) { return Set(o.Faults.Repeat); }},
};

std::string Plural(int count, std::string_view word)
{
    return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

} // namespace

std::span<const SimOptionRow> SimOptionTable()
{
    return kOptions;
}

SimOptions ParseSimArgs(std::span<const std::string_view> args)
{
    SimOptions options;
    const auto fail = [&options](std::string problem) {
        options.Error = std::move(problem);
        return options;
    };

    QCommandLineParser parser;
    std::vector<QCommandLineOption> parserOptions;
    parserOptions.reserve(std::size(kOptions));
    for (const SimOptionRow &row : kOptions) {
        parserOptions.emplace_back(Held(row.name));
        if (!row.valueName.empty())
            parserOptions.back().setValueName(Held(row.valueName));
        parser.addOption(parserOptions.back());
    }
    QStringList arguments {QStringLiteral("nx5rb-sim")};
    for (const std::string_view arg : args)
        arguments << Held(arg);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return fail("unknown option " + std::string(unknown.front().size() == 1 ? "-" : "--")
                        + Given(unknown.front()));
        // A value is taken from the next argument, whatever it is: only the last can miss one.
        const std::string last = args.empty() ? std::string() : std::string(args.back());
        for (const SimOptionRow &row : kOptions)
            if (!row.valueName.empty() && last == "--" + std::string(row.name))
                return fail("option " + last + " needs a value");
        for (const SimOptionRow &row : kOptions)
            for (const std::string_view arg : args)
                if (row.valueName.empty() && arg.starts_with("--" + std::string(row.name) + "="))
                    return fail("option --" + std::string(row.name) + " takes no value");
        return fail(parser.errorText().toStdString());
    }
    if (const QStringList positional = parser.positionalArguments(); !positional.isEmpty())
        return fail("unexpected argument " + Given(positional.front()));

    for (std::size_t i = 0; i < std::size(kOptions); ++i) {
        const SimOptionRow &row = kOptions[i];
        if (!parser.isSet(parserOptions[i]))
            continue;
        const QStringList values
            = row.valueName.empty() ? QStringList {QString()} : parser.values(parserOptions[i]);
        for (const QString &value : values)
            if (const auto problem = row.store(options, Given(value)))
                return fail("option --" + std::string(row.name) + " " + *problem);
    }
    // A replay has no memory to load or keep, and answers only what the trace holds.
    if (!options.ReplayPath.empty()
        && (!options.LoadPath.empty() || !options.SavePath.empty() || !options.ExportPath.empty()
            || options.Faults != RadioFaults {}))
        return fail("option --replay takes no memory or fault options");
    return options;
}

const std::string &SimUsage()
{
    static const std::string usage = [] {
        std::string text = kAbout;
        for (const bool faults : {false, true}) {
            text += faults ? kFaultsHeading : "\noptions:\n";
            for (const SimOptionRow &row : kOptions) {
                if (row.fault != faults)
                    continue;
                std::string head = "  --" + std::string(row.name);
                if (!row.valueName.empty())
                    head += " " + std::string(row.valueName);
                head.resize(std::max(head.size() + 2, kDescriptionColumn), ' ');
                text += head;
                for (const char c : row.description) {
                    text += c;
                    if (c == '\n')
                        text += std::string(kDescriptionColumn, ' ');
                }
                text += "\n";
            }
        }
        return text;
    }();
    return usage;
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
