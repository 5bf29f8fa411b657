// nx5rb-cli chart: a band's calibration chart drawn into a PNG, without a display.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

extern const char *const kChartHelp;

// Creates the widget application it needs when there is none (offscreen unless QT_QPA_PLATFORM
// names another platform) and ends it before returning.
int RunChart(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool);

} // namespace nx5rb::cli
