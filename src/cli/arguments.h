// Command-line arguments of nx5rb-cli's commands: options with a value, and positional arguments.
#pragma once

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// An option that takes a value, by its short and long name ("-o", "--output").
struct ValueOption
{
    std::string_view shortName;
    std::string_view longName;
    std::string *value;
};

// Takes every occurrence of a flag (an option without a value, "--json") out of the arguments;
// true when it was there.
bool TakeFlag(std::vector<std::string> &args, std::string_view flag);

// Writes the problem and the command's help to `err`; returns the usage exit status.
int UsageError(std::ostream &err, const std::string &problem, const char *help);

// Fills the options' values and returns the positional arguments, which must number `positional`;
// reports unknown options, missing values and a wrong count as usage errors.
std::optional<std::vector<std::string>> ParseArguments(const std::vector<std::string> &args,
                                                       std::initializer_list<ValueOption> options,
                                                       std::size_t positional,
                                                       std::string_view positionalNames,
                                                       std::ostream &err, const char *help);

} // namespace nx5rb::cli
