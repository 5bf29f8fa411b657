// nx5rb-cli read / write: the transfer commands of the window, run against a port.
#pragma once

#include "cli/arguments.h"

#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

extern const CommandSyntax kReadSyntax;
extern const CommandSyntax kWriteSyntax;

// `showProgress`: write the running block count to `err` (when it is a terminal).
int RunRead(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            bool showProgress);
int RunWrite(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
             bool showProgress);

} // namespace nx5rb::cli
