#include "cli/cli.h"

#include "app/file_commands.h"
#include "app/texts.h"
#include "app/version.h"
#include "app/window_state.h"
#include "cli/arguments.h"
#include "cli/channel_plan_cli.h"
#include "cli/chart_cli.h"
#include "cli/console_prompt.h"
#include "cli/diff_cli.h"
#include "cli/open_for_command.h"
#include "cli/page_export.h"
#include "cli/transfer_cli.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace nx5rb::cli {

namespace {

constexpr const char *kUsage = R"TEXT(usage: nx5rb-cli [--help] [--version] COMMAND [ARGS]

Reads, shows and writes the memory of an NX5RB radio and its "*.dat" files. Every command
starts from the state the window has right after start-up.

commands:
  chart FILE.dat --band BAND -o OUT.png          draw a band's calibration chart
  diff A.dat B.dat [--json]                      every value that differs between two files
  dump FILE.dat                                  print what every page shows, as JSON
  export-channels FILE.dat [-o OUT.csv] [--format ours|common]
                                                 the channel table as CSV
  import-channels FILE.dat PLAN.csv -o OUT.dat [--skip-bad] [--replace-all]
                                                 a channel plan (CSV) into a data file
  read REGION --port PORT -o OUT.dat [--base F]  read a region of the radio into a data file
  write REGION --port PORT FILE.dat              write a region of a data file to the radio

REGION is all, area, band-a, band-b, band-c, message or channels; PORT is a device path,
COM1..COM4, or "virtual" for the built-in virtual radio.

Run "nx5rb-cli COMMAND --help" for the details of a command.
)TEXT";

constexpr const char *kDumpHelp = R"TEXT(usage: nx5rb-cli dump FILE.dat

Opens FILE.dat as "打开(&O)" does once the user has confirmed (header check, repair of the image,
every page decoded) and prints, as UTF-8 JSON on standard output, what every page shows: the
frequency areas, the band combination and working channels, the tune tables with their edges,
the modulation settings, the maximum offset, the power-on message and the existing channels.

A file that is not a data file (wrong header, shorter than 4112 bytes) or cannot be read is
reported on standard error and the exit status is non-zero.
)TEXT";

struct Command
{
    const char *help;
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
    const auto file = ParseArguments(args, {}, 1, "FILE.dat", err, kDumpHelp);
    if (!file)
        return kExitUsage;
    const auto state = OpenForCommand(file->front(), err);
    if (!state)
        return kExitFailure;
    out << DumpJson(*state);
    return out ? kExitOk : kExitFailure;
}

const std::map<std::string, Command> &Commands()
{
    static const std::map<std::string, Command> commands = {
        {"chart", {kChartHelp, RunChart}},
        {"diff", {kDiffHelp, RunDiffCommand}},
        {"dump", {kDumpHelp, RunDump}},
        {"export-channels", {kExportChannelsHelp, RunExportChannels}},
        {"import-channels", {kImportChannelsHelp, RunImportChannels}},
        {"read", {kReadHelp, RunRead}},
        {"write", {kWriteHelp, RunWrite}},
    };
    return commands;
}

} // namespace

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

std::optional<WindowState> OpenStored(const DataFileContents &contents, const std::string &path,
                                      std::ostream &err)
{
    std::vector<std::uint8_t> bytes(contents.header.begin(), contents.header.end());
    bytes.insert(bytes.end(), contents.image.begin(), contents.image.end());
    std::optional<WindowState> state(std::in_place);
    ConsolePrompt prompt(err, path);
    if (OpenDataBytes(*state, bytes, prompt) != OpenResult::Opened)
        return std::nullopt;
    return state;
}

std::optional<WindowState> OpenForCommand(const std::string &path, std::ostream &err)
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
        return UsageError(err, "missing command", kUsage);
    const std::string &name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (name == "--version") {
        out << "nx5rb-cli " << VersionText() << "\n";
        return kExitOk;
    }
    const auto command = Commands().find(name);
    if (command == Commands().end())
        return UsageError(err, "unknown command " + name, kUsage);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
        out << command->second.help;
        return kExitOk;
    }
    return command->second.run(rest, out, err, errIsTerminal);
}

} // namespace nx5rb::cli
