// The command line of nx5rb-sim.
#pragma once

#include "sim/virtual_radio.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

inline constexpr int kDefaultSimBaud = 9600;

struct SimOptions
{
    std::string LoadPath; // start from this data file instead of the factory memory
    std::string SavePath; // keep the memory in this data file
    std::string ExportPath; // write the memory to this data file and stop
    std::string ReplayPath; // answer from this trace instead of a memory
    int Baud = kDefaultSimBaud;
    bool Quiet = false;
    bool Help = false;
    RadioFaults Faults;
    std::string Error; // what is wrong with the command line; empty when it is usable

    bool operator==(const SimOptions &) const = default;
};

// One option of nx5rb-sim: "--name VALUE", "--name=VALUE", or "--name" for a flag. The parser and
// the help are made from the table of these.
struct SimOptionRow
{
    std::string_view name; // without the dashes
    std::string_view valueName; // what the help calls its value; empty for a flag
    std::string_view description; // a line after the first is indented under the first
    bool fault = false; // listed with the faults
    // Stores the value (empty for a flag); says what the value should be when it is not usable.
    std::optional<std::string> (*store)(SimOptions &options, std::string_view value) = nullptr;
};

std::span<const SimOptionRow> SimOptionTable();

// The arguments after the program name.
SimOptions ParseSimArgs(std::span<const std::string_view> args);

const std::string &SimUsage();

// The line logged when a session ends: "session 3: read 18 blocks".
std::string SessionLogLine(const SessionSummary &summary);

} // namespace nx5rb
