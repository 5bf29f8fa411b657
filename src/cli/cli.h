// nx5rb-cli: the core driven from a terminal. Every command starts from the state the window has
// right after start-up.
#pragma once

#include "cli/arguments.h"

#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace nx5rb::cli {

// Runs one command line (without the program name); returns the exit status. Transfers need a
// QCoreApplication. With `errIsTerminal` a running transfer shows its progress on `err`.
int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
           bool errIsTerminal = false);

// Every command's command line, in the order of their names.
std::span<const CommandSyntax *const> CommandSyntaxes();

} // namespace nx5rb::cli
