// Command lines of nx5rb-cli's commands: each command's options in one table, which both the
// parser (QCommandLineParser) and the command's help are made from.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One option of a command. It is given as "--long VALUE", "--long=VALUE" or "-s VALUE"; a flag
// (no value name) as "--long" or "-s".
struct OptionRow
{
    std::string_view shortName; // one letter, or empty
    std::string_view longName; // without the dashes
    std::string_view valueName; // what the help calls its value; empty for a flag
    // What the help says of it; a line after the first is indented under the first.
    std::string_view description;
    // The command cannot run without it: the synopsis names it, and its absence (or an empty
    // value) is a usage error.
    bool required = false;
};

// A command of nx5rb-cli: its arguments, and the prose of its help.
struct CommandSyntax
{
    std::string_view name = {};
    // The positional arguments, as the synopsis names them ("REGION FILE.dat"): so many are
    // needed, no more, no fewer.
    std::string_view positional = {};
    // How a usage error names them when some are missing; `positional` when empty.
    std::string_view missingPositional = {};
    std::string_view summary = {}; // one line, for the list of commands
    std::span<const OptionRow> options = {};
    std::string_view about = {}; // the help between the synopsis and the options
    std::string_view epilogue = {}; // the help after the options
};

// One row of a help's table: `head` (with its indent) padded to `column`, then `text`, a line of
// it after the first indented to `column`. A head that leaves no two spaces before the column
// stands on a line of its own.
std::string HelpRow(std::string head, std::string_view text, std::size_t column);

// "usage: nx5rb-cli NAME POSITIONAL --required VALUE... [options]".
std::string Synopsis(const CommandSyntax &syntax);
// The command's help: the synopsis, its prose and its options.
std::string HelpText(const CommandSyntax &syntax);

// A command line that parsed: the options given and the positional arguments.
class CommandLine
{
public:
    // The value the option was last given; empty when it was not given. By the long name.
    std::string Value(std::string_view longName) const;
    // Whether the flag (or option) was given. By the long name.
    bool Has(std::string_view longName) const;
    const std::vector<std::string> &Positional() const { return positional_; }

private:
    friend std::optional<CommandLine> ParseCommandLine(const CommandSyntax &,
                                                       const std::vector<std::string> &,
                                                       std::ostream &, std::string_view);

    std::map<std::string, std::string, std::less<>> values_;
    std::set<std::string, std::less<>> given_;
    std::vector<std::string> positional_;
};

// Parses the arguments after the command's name by the command's table. An unknown option, a
// missing value, a wrong number of positional arguments or a required option missing is
// reported as a usage error with `help` (the command's own when empty), and gives nothing.
std::optional<CommandLine> ParseCommandLine(const CommandSyntax &syntax,
                                            const std::vector<std::string> &args, std::ostream &err,
                                            std::string_view help = {});

// A whole decimal number from `low` to `high`; nothing for any other text.
std::optional<int> NumberIn(std::string_view text, int low, int high);

// Writes the problem, on one line, and the help's synopsis to `err`; returns the usage exit
// status.
int UsageError(std::ostream &err, const std::string &problem, std::string_view help);

} // namespace nx5rb::cli
