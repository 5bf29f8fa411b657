#include "cli/cli.h"

#include "app/file_commands.h"
#include "app/texts.h"
#include "app/version.h"
#include "cli/arguments.h"
#include "cli/channel_plan_cli.h"
#include "cli/chart_cli.h"
#include "cli/console_prompt.h"
#include "cli/diff_cli.h"
#include "cli/open_for_command.h"
#include "cli/page_export.h"
#include "cli/transfer_cli.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

namespace nx5rb::cli {

namespace {

// Where the commands' summaries start in the tool's help.
constexpr std::size_t kSummaryColumn = 49;

constexpr const char *kAbout
    = R"TEXT(Reads, shows and writes the memory of an NX5RB radio and its "*.dat" files. Every command
starts from the state the window has right after start-up.
)TEXT";

constexpr const char *kRegionsAndPorts
    = R"TEXT(REGION is all, area, band-a, band-b, band-c, message or channels; PORT is a device path,
COM1..COM4, or "virtual" for the built-in virtual radio.

Run "nx5rb-cli COMMAND --help" for the details of a command.
)TEXT";

constexpr CommandSyntax kDumpSyntax = {
    .name = "dump",
    .positional = "FILE.dat",
    .summary = "print what every page shows, as JSON",
    .about
    = R"TEXT(Opens FILE.dat as "打开(&O)" does once the user has confirmed (header check, repair of the image,
every page decoded) and prints, as UTF-8 JSON on standard output, what every page shows: the
frequency areas, the band combination and working channels, the tune tables with their edges,
the modulation settings, the maximum offset, the power-on message and the existing channels.

A file that is not a data file (wrong header, shorter than 4112 bytes) or cannot be read is
reported on standard error and the exit status is non-zero.
)TEXT",
};

struct Command
{
    const CommandSyntax &syntax;
    std::function<int(const std::vector<std::string> &, std::ostream &, std::ostream &, bool)> run;
};

bool WantsHelp(const std::vector<std::string> &args)
{
    for (const std::string &arg : args)
        if (arg == "--help" || arg == "-h")
            return true;
    return false;
}

// diff compares what the files hold, not what opening them would make of it.
std::optional<RadioImage> StoredImage(const std::string &path, std::ostream &err)
{
    const auto contents = ReadForCommand(path, err);
    if (!contents)
        return std::nullopt;
    return contents->image;
}

int RunDiffCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool)
{
    return RunDiff(args, out, err, StoredImage);
}

int RunDump(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool)
{
    const auto line = ParseCommandLine(kDumpSyntax, args, err);
    if (!line)
        return kExitUsage;
    const auto document = OpenForCommand(line->Positional().front(), err);
    if (!document)
        return kExitFailure;
    out << DumpJson(*document);
    return out ? kExitOk : kExitFailure;
}

// In the order the tool's help lists them.
const std::vector<Command> &Commands()
{
    static const std::vector<Command> commands = {
        {kChartSyntax, RunChart},
        {kDiffSyntax, RunDiffCommand},
        {kDumpSyntax, RunDump},
        {kExportChannelsSyntax, RunExportChannels},
        {kImportChannelsSyntax, RunImportChannels},
        {kReadSyntax, RunRead},
        {kWriteSyntax, RunWrite},
    };
    return commands;
}

// The tool's own help: its prose, and each command's synopsis and summary.
std::string Usage()
{
    std::string usage = "usage: nx5rb-cli [--help] [--version] COMMAND [ARGS]\n\n";
    usage += kAbout;
    usage += "\ncommands:\n";
    for (const Command &command : Commands())
        usage += HelpRow(
            "  " + Synopsis(command.syntax).substr(std::string_view("usage: nx5rb-cli ").size()),
            command.syntax.summary, kSummaryColumn);
    return usage + "\n" + kRegionsAndPorts;
}

} // namespace

std::span<const CommandSyntax *const> CommandSyntaxes()
{
    static const std::vector<const CommandSyntax *> syntaxes = [] {
        std::vector<const CommandSyntax *> all;
        for (const Command &command : Commands())
            all.push_back(&command.syntax);
        return all;
    }();
    return syntaxes;
}

std::optional<DataFileContents> ReadForCommand(const std::string &path, std::ostream &err)
{
    DataFileContents contents = ReadDataFile(path);
    switch (contents.status) {
    case DataFileStatus::Ok:
        return contents;
    case DataFileStatus::WrongFile:
        err << "nx5rb-cli: " << path
            << ": not a data file (a data file is 4112 bytes and begins with \"NX5RBTX \")\n";
        break;
    case DataFileStatus::CannotRead:
        err << "nx5rb-cli: " << path << ": " << contents.reason << "\n";
        break;
    }
    return std::nullopt;
}

std::optional<DecodedDocument> OpenStored(const DataFileContents &contents, const std::string &path,
                                          std::ostream &err)
{
    ConsolePrompt prompt(err, path);
    return DecodeDocument(contents, prompt);
}

std::optional<DecodedDocument> OpenForCommand(const std::string &path, std::ostream &err)
{
    const auto contents = ReadForCommand(path, err);
    if (!contents)
        return std::nullopt;
    return OpenStored(*contents, path, err);
}

int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
           bool errIsTerminal)
{
    if (args.empty())
        return UsageError(err, "missing command", Usage());
    const std::string &name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        out << Usage();
        return kExitOk;
    }
    if (name == "--version") {
        out << "nx5rb-cli " << VersionText() << "\n";
        return kExitOk;
    }
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&name](const Command &c) { return c.syntax.name == name; });
    if (command == Commands().end())
        return UsageError(err, "unknown command " + name, Usage());
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
        out << HelpText(command->syntax);
        return kExitOk;
    }
    return command->run(rest, out, err, errIsTerminal);
}

} // namespace nx5rb::cli
