// nx5rb-cli read / write: the transfer commands of the window, run against a port.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

extern const char *const kReadHelp;
extern const char *const kWriteHelp;

// `showProgress`: write the running block count to `err` (when it is a terminal).
int RunRead(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            bool showProgress);
int RunWrite(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
             bool showProgress);

} // namespace nx5rb::cli
