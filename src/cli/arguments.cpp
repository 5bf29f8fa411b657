#include "cli/arguments.h"

#include <algorithm>

namespace nx5rb::cli {

bool TakeFlag(std::vector<std::string> &args, std::string_view flag)
{
    const auto end = std::remove(args.begin(), args.end(), flag);
    const bool found = end != args.end();
    args.erase(end, args.end());
    return found;
}

int UsageError(std::ostream &err, const std::string &problem, const char *help)
{
    err << "nx5rb-cli: " << problem << "\n\n" << help;
    return kExitUsage;
}

std::optional<std::vector<std::string>> ParseArguments(const std::vector<std::string> &args,
                                                       std::initializer_list<ValueOption> options,
                                                       std::size_t positional,
                                                       std::string_view positionalNames,
                                                       std::ostream &err, const char *help)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const ValueOption *option = nullptr;
        for (const ValueOption &candidate : options)
            if (arg == candidate.shortName || arg == candidate.longName)
                option = &candidate;
        if (option) {
            if (i + 1 >= args.size()) {
                UsageError(err, "option " + arg + " needs a value", help);
                return std::nullopt;
            }
            *option->value = args[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            UsageError(err, "unknown option " + arg, help);
            return std::nullopt;
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.size() < positional) {
        UsageError(err, "missing " + std::string(positionalNames), help);
        return std::nullopt;
    }
    if (rest.size() > positional) {
        UsageError(err, "unexpected argument " + rest[positional], help);
        return std::nullopt;
    }
    return rest;
}

} // namespace nx5rb::cli
