// How every command of nx5rb-cli opens a data file: into a document of its own, as "打开(&O)" does
// once the user has confirmed.
#pragma once

#include "app/file_commands.h"
#include "image/data_file.h"

#include <optional>
#include <ostream>
#include <string>

namespace nx5rb::cli {

// Reports on `err` (one line) and returns nothing when the file is not a data file or cannot be
// read.
std::optional<DecodedDocument> OpenForCommand(const std::string &path, std::ostream &err);

// The file's own header and image as stored, before the repair that opening applies; reported as
// OpenForCommand reports.
std::optional<DataFileContents> ReadForCommand(const std::string &path, std::ostream &err);

// Opens contents already read from `path` as OpenForCommand does.
std::optional<DecodedDocument> OpenStored(const DataFileContents &contents, const std::string &path,
                                          std::ostream &err);

} // namespace nx5rb::cli
