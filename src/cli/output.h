// Where a command's output goes: a file replaced whole or not at all, or standard output ("-").
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace nx5rb::cli {

// The output path that means standard output.
inline constexpr std::string_view kStandardOutput = "-";

// False, with one line on `err`, when `path` exists and is not a regular file (a device, a pipe,
// a folder): a save would replace it or write into it. Checked before anything is written.
bool CheckOutputPath(const std::string &path, std::ostream &err);

// Replaces the regular file at `path` with `bytes`, whole or not at all. False, with one line on
// `err`, when it could not.
bool WriteFile(const std::string &path, std::string_view bytes, std::ostream &err);

// A text output: WriteFile, or `out` when `path` is "-".
bool WriteOutput(const std::string &path, std::string_view bytes, std::ostream &out,
                 std::ostream &err);

// Whether two paths name one file: the same file (also through a link, "./" or "..") when it
// exists, the same place when it does not yet.
bool SameFile(const std::string &a, const std::string &b);

} // namespace nx5rb::cli
