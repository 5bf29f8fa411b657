#include "cli/arguments.h"

#include <charconv>
#include <utility>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace nx5rb::cli {

namespace {

// Where the options' descriptions start in a help.
constexpr std::size_t kDescriptionColumn = 25;

// An argument as the parser holds it: every byte one character, so that a file name comes back
// exactly as it was given, whatever its encoding.
QString Held(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string Given(const QString &text)
{
    return text.toLatin1().toStdString();
}

// "-o OUT.dat", or "--base FILE.dat" for an option without a short name.
std::string Named(const OptionRow &option)
{
    std::string named = option.shortName.empty() ? "--" + std::string(option.longName)
                                                 : "-" + std::string(option.shortName);
    if (!option.valueName.empty())
        named += " " + std::string(option.valueName);
    return named;
}

std::size_t PositionalCount(std::string_view positional)
{
    std::size_t count = 0;
    bool inWord = false;
    for (const char c : positional) {
        if (c != ' ' && !inWord)
            ++count;
        inWord = c != ' ';
    }
    return count;
}

const OptionRow *Find(const CommandSyntax &syntax, std::string_view longName)
{
    for (const OptionRow &option : syntax.options)
        if (option.longName == longName)
            return &option;
    return nullptr;
}

// Whether `arg` names an option that takes a value, as a whole ("--output", "-o"): the parser takes
// the argument after it, whatever it is, so a value can only be missing after the last.
bool WantsValue(const CommandSyntax &syntax, std::string_view arg)
{
    for (const OptionRow &option : syntax.options)
        if (!option.valueName.empty()
            && ((arg.starts_with("--") && arg.substr(2) == option.longName)
                || (!option.shortName.empty() && arg.starts_with("-")
                    && arg.substr(1) == option.shortName)))
            return true;
    return false;
}

} // namespace

std::string Synopsis(const CommandSyntax &syntax)
{
    std::string synopsis = "usage: nx5rb-cli " + std::string(syntax.name);
    if (!syntax.positional.empty())
        synopsis += " " + std::string(syntax.positional);
    bool optional = false;
    for (const OptionRow &option : syntax.options) {
        if (option.required)
            synopsis += " --" + std::string(option.longName) + " " + std::string(option.valueName);
        else
            optional = true;
    }
    return optional ? synopsis + " [options]" : synopsis;
}

std::string HelpRow(std::string head, std::string_view text, std::size_t column)
{
    head += head.size() + 2 > column ? "\n" + std::string(column, ' ')
                                     : std::string(column - head.size(), ' ');
    for (const char c : text) {
        head += c;
        if (c == '\n')
            head += std::string(column, ' ');
    }
    return head + "\n";
}

std::string HelpText(const CommandSyntax &syntax)
{
    std::string help = Synopsis(syntax) + "\n\n" + std::string(syntax.about);
    if (!syntax.options.empty())
        help += "\noptions:\n";
    for (const OptionRow &option : syntax.options) {
        std::string head = option.shortName.empty()
            ? "      --"
            : "  -" + std::string(option.shortName) + ", --";
        head += option.longName;
        if (!option.valueName.empty())
            head += " " + std::string(option.valueName);
        help += HelpRow(std::move(head), option.description, kDescriptionColumn);
    }
    if (!syntax.epilogue.empty())
        help += "\n" + std::string(syntax.epilogue);
    return help;
}

std::string CommandLine::Value(std::string_view longName) const
{
    const auto value = values_.find(longName);
    return value == values_.end() ? std::string() : value->second;
}

bool CommandLine::Has(std::string_view longName) const
{
    return given_.contains(longName);
}

std::optional<CommandLine> ParseCommandLine(const CommandSyntax &syntax,
                                            const std::vector<std::string> &args, std::ostream &err,
                                            std::string_view help)
{
    const auto fail = [&](const std::string &problem) {
        UsageError(err, problem, help.empty() ? HelpText(syntax) : std::string(help));
        return std::nullopt;
    };

    QCommandLineParser parser;
    std::vector<QCommandLineOption> options;
    options.reserve(syntax.options.size());
    for (const OptionRow &row : syntax.options) {
        QStringList names;
        if (!row.shortName.empty())
            names << Held(row.shortName);
        names << Held(row.longName);
        options.emplace_back(names);
        if (!row.valueName.empty())
            options.back().setValueName(Held(row.valueName));
        parser.addOption(options.back());
    }
    QStringList arguments {QStringLiteral("nx5rb-cli")};
    for (const std::string &arg : args)
        arguments << Held(arg);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return fail("unknown option " + std::string(unknown.front().size() == 1 ? "-" : "--")
                        + Given(unknown.front()));
        if (!args.empty() && WantsValue(syntax, args.back()))
            return fail("option " + args.back() + " needs a value");
        for (const std::string &arg : args) {
            if (arg == "--")
                break;
            const std::size_t equals = arg.find('=');
            const OptionRow *flag = arg.starts_with("--") && equals != std::string::npos
                ? Find(syntax, std::string_view(arg).substr(2, equals - 2))
                : nullptr;
            if (flag && flag->valueName.empty())
                return fail("option --" + std::string(flag->longName) + " takes no value");
        }
        return fail(parser.errorText().toStdString());
    }

    CommandLine line;
    for (const QString &arg : parser.positionalArguments())
        line.positional_.push_back(Given(arg));
    const std::size_t wanted = PositionalCount(syntax.positional);
    if (line.positional_.size() < wanted)
        return fail("missing "
                    + std::string(syntax.missingPositional.empty() ? syntax.positional
                                                                   : syntax.missingPositional));
    if (line.positional_.size() > wanted)
        return fail("unexpected argument " + line.positional_[wanted]);

    for (std::size_t i = 0; i < syntax.options.size(); ++i) {
        const OptionRow &row = syntax.options[i];
        const std::string name(row.longName);
        if (parser.isSet(options[i])) {
            line.given_.insert(name);
            if (!row.valueName.empty())
                line.values_[name] = Given(parser.value(options[i]));
        }
        if (row.required && line.Value(name).empty())
            return fail("missing " + Named(row));
    }
    return line;
}

std::optional<int> NumberIn(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

int UsageError(std::ostream &err, const std::string &problem, std::string_view help)
{
    // The problem, then the synopsis alone: the whole help would bury the one line that matters.
    const std::string_view synopsis = help.substr(0, help.find('\n'));
    err << "nx5rb-cli: " << problem << "\n" << synopsis << " (--help for more)\n";
    return kExitUsage;
}

} // namespace nx5rb::cli
