// Every command's options as its table gives them: each is taken in every form a user may write
// it, and a misused one is a usage error of one line before the command's help.
#include "cli/arguments.h"
#include "cli/tool_run.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace nx5rb {
namespace {

using cli::CommandSyntax;
using cli::OptionRow;
using test::RunTool;

// A placeholder for each positional argument.
std::vector<std::string> Positionals(const CommandSyntax &syntax)
{
    std::vector<std::string> args;
    std::istringstream names {std::string(syntax.positional)};
    for (std::string name; names >> name;)
        args.push_back(name);
    return args;
}

// The positionals, then every required option but `except` with a value.
std::vector<std::string> Needed(const CommandSyntax &syntax, const OptionRow *except = nullptr)
{
    std::vector<std::string> args = Positionals(syntax);
    for (const OptionRow &option : syntax.options)
        if (option.required && &option != except)
            args.insert(args.end(), {"--" + std::string(option.longName), "given"});
    return args;
}

std::string Described(const std::vector<std::string> &args)
{
    std::string text;
    for (const std::string &arg : args)
        text += " " + arg;
    return text;
}

TEST(CommandLine, EveryOptionOfEveryCommandTakesEachForm)
{
    // A value may start with a dash and hold '=' and spaces: it is the value all the same.
    const std::string value = "-v=1 .dat";
    for (const CommandSyntax *syntax : cli::CommandSyntaxes()) {
        for (const OptionRow &option : syntax->options) {
            const std::string name(option.longName);
            std::vector<std::vector<std::string>> forms;
            const bool flag = option.valueName.empty();
            if (flag)
                forms = {{"--" + name}};
            else
                forms = {{"--" + name, value}, {"--" + name + "=" + value}};
            if (!option.shortName.empty())
                forms.push_back(
                    flag ? std::vector<std::string> {"-" + std::string(option.shortName)}
                         : std::vector<std::string> {"-" + std::string(option.shortName), value});
            for (const std::vector<std::string> &form : forms) {
                std::vector<std::string> args = Needed(*syntax, &option);
                args.insert(args.begin() + 1, form.begin(), form.end()); // among the positionals
                std::ostringstream err;
                const auto line = cli::ParseCommandLine(*syntax, args, err);
                const std::string what = std::string(syntax->name) + Described(args);
                ASSERT_TRUE(line) << what << "\n" << err.str();
                EXPECT_TRUE(line->Has(name)) << what;
                EXPECT_EQ(line->Value(name), flag ? "" : value) << what;
                EXPECT_EQ(line->Positional(), Positionals(*syntax)) << what;
            }
        }
    }
}

TEST(CommandLine, AMisusedOptionIsAUsageErrorOfOneLineAndTheSynopsis)
{
    for (const CommandSyntax *syntax : cli::CommandSyntaxes()) {
        const std::string command(syntax->name);
        // The problem each misuse is told by.
        std::vector<std::pair<std::vector<std::string>, std::string>> misuses = {
            {{"--no-such-option"}, "unknown option --no-such-option"},
        };
        for (const OptionRow &option : syntax->options) {
            const std::string name = "--" + std::string(option.longName);
            if (option.valueName.empty()) {
                misuses.push_back({{name + "=yes"}, "option " + name + " takes no value"});
                continue;
            }
            misuses.push_back({{name}, "option " + name + " needs a value"});
            if (!option.shortName.empty()) {
                const std::string shortName = "-" + std::string(option.shortName);
                misuses.push_back({{shortName}, "option " + shortName + " needs a value"});
            }
        }
        for (const auto &[misuse, problem] : misuses) {
            std::vector<std::string> args = Needed(*syntax);
            args.insert(args.begin(), command);
            args.insert(args.end(), misuse.begin(), misuse.end());
            const test::ToolRun run = RunTool(args);
            EXPECT_EQ(run.status, cli::kExitUsage) << Described(args);
            EXPECT_EQ(run.out, "");
            const std::string help = cli::HelpText(*syntax);
            EXPECT_EQ(run.err,
                      "nx5rb-cli: " + problem + "\n" + help.substr(0, help.find('\n'))
                          + " (--help for more)\n");
        }
    }
}

} // namespace
} // namespace nx5rb
