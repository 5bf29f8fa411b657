// The command line of nx5rb-sim.
#pragma once

#include "sim/virtual_radio.h"

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
};

// The arguments after the program name.
SimOptions ParseSimArgs(std::span<const std::string_view> args);

const char *SimUsage();

// The line logged when a session ends: "session 3: read 18 blocks".
std::string SessionLogLine(const SessionSummary &summary);

} // namespace nx5rb
