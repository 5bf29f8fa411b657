#include "cli/output.h"

#include "app/file_commands.h"
#include "image/data_file.h"

#include <filesystem>
#include <system_error>

#include <QString>

namespace nx5rb::cli {

bool CheckOutputPath(const std::string &path, std::ostream &err)
{
    if (IsReplaceableOutput(path))
        return true;
    err << "nx5rb-cli: " << path
        << ": not a regular file (a device, a pipe or a folder); refusing to write to it\n";
    return false;
}

bool WriteOutput(const std::string &path, std::string_view bytes, std::ostream &out,
                 std::ostream &err)
{
    if (path != kStandardOutput)
        return WriteFile(path, bytes, err);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out); // a failure is reported once, when standard output is flushed at exit
}

bool WriteFile(const std::string &path, std::string_view bytes, std::ostream &err)
{
    if (!CheckOutputPath(path, err))
        return false;
    if (const std::optional<std::string> reason = ReplaceFile(path, bytes)) {
        err << "nx5rb-cli: " << path << ": " << *reason << "\n";
        return false;
    }
    return true;
}

bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const std::filesystem::path placeA = std::filesystem::weakly_canonical(a, error);
    if (error)
        return false;
    const std::filesystem::path placeB = std::filesystem::weakly_canonical(b, error);
    return !error && placeA == placeB;
}

} // namespace nx5rb::cli
