// nx5rb-cli chart: a band's calibration chart drawn into a picture, without a display. The
// command line checks the arguments and runs nx5rb-chart, which draws: so nx5rb-cli itself loads
// no widget or chart library.
#pragma once

#include "cli/arguments.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QSize>

namespace nx5rb::cli {

extern const CommandSyntax kChartSyntax;

// The program that draws, installed beside nx5rb-cli.
inline constexpr char kChartProgram[] = "nx5rb-chart";

struct ChartRequest
{
    std::string file;
    int band = 0;
    std::string output;
    std::string compareFile; // empty: no comparison
    QSize size;
};

// The request the arguments make; on a usage error reports it with `help` (the command's own
// when empty) and returns nothing.
std::optional<ChartRequest> ParseChartRequest(const std::vector<std::string> &args,
                                              std::ostream &err, std::string_view help = {});

// Checks the arguments, then runs nx5rb-chart with them and passes on what it says and its exit
// status.
int RunChart(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool);

} // namespace nx5rb::cli
