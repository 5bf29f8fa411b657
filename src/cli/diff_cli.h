// nx5rb-cli diff: the bytes of two data files compared, each difference named by its field.
#pragma once

#include "cli/arguments.h"
#include "image/radio_image.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace nx5rb::cli {

extern const CommandSyntax kDiffSyntax;

// Reads the image a data file holds (header check, no repair); reports on `err` and gives nothing
// when it cannot.
using ImageOpener
    = std::function<std::optional<RadioImage>(const std::string &path, std::ostream &err)>;

// diff A.dat B.dat [--json]: 0 when the images are the same, 1 when they differ, 2 on a usage
// error or a file that cannot be opened.
int RunDiff(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            const ImageOpener &open);

} // namespace nx5rb::cli
