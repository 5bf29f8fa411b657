// How every command of nx5rb-cli opens a data file: into a fresh start-up state, as "打开(&O)"
// does once the user has confirmed.
#pragma once

#include "app/window_state.h"

#include <optional>
#include <ostream>
#include <string>

namespace nx5rb::cli {

// Reports on `err` and returns nothing when the file is not a data file or cannot be read.
std::optional<WindowState> OpenForCommand(const std::string &path, std::ostream &err);

} // namespace nx5rb::cli
