// nx5rb-cli export-channels / import-channels: the channel table as a CSV plan, in our layout or
// the common layout of multi-radio programmers, and a plan read back into a data file.
#pragma once

#include "cli/arguments.h"

#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

extern const CommandSyntax kExportChannelsSyntax;
extern const CommandSyntax kImportChannelsSyntax;

int RunExportChannels(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
                      bool showProgress);
int RunImportChannels(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
                      bool showProgress);

} // namespace nx5rb::cli
