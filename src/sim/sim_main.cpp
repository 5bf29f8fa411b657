// nx5rb-sim: the virtual radio on a pseudo-terminal, for trying the tool and its command line
// without a handheld, and for the end-to-end tests of the link.
#include "image/data_file.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

bool Save(const std::string &path, const nx5rb::RadioImage &memory)
{
    if (const auto reason = nx5rb::WriteDataFile(path, memory)) {
        std::cerr << "nx5rb-sim: " << path << ": " << *reason << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace nx5rb;

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const SimOptions options = ParseSimArgs(args);
    if (!options.Error.empty()) {
        std::cerr << "nx5rb-sim: " << options.Error << "\n\n" << SimUsage();
        return kExitUsage;
    }
    if (options.Help) {
        std::cout << SimUsage();
        return kExitOk;
    }

    RadioImage memory = FactoryMemory();
    if (!options.LoadPath.empty()) {
        const DataFileContents contents = ReadDataFile(options.LoadPath);
        if (contents.status != DataFileStatus::Ok) {
            const std::string reason = contents.status == DataFileStatus::WrongFile
                ? "not a data file"
                : contents.reason;
            std::cerr << "nx5rb-sim: " << options.LoadPath << ": " << reason << "\n";
            return kExitFailure;
        }
        memory = contents.image;
    }
    if (!options.ExportPath.empty())
        return Save(options.ExportPath, memory) ? kExitOk : kExitFailure;

    VirtualRadio radio(memory);
    radio.Faults = options.Faults;
    radio.OnSessionEnd = [&](const SessionSummary &summary) {
        if (!options.Quiet)
            std::cerr << SessionLogLine(summary) << std::endl;
        if (summary.BlocksWritten > 0 && !options.SavePath.empty())
            Save(options.SavePath, radio.Memory());
    };

    PtyServer server(radio, options.Baud);
    if (const auto reason = server.Open()) {
        std::cerr << "nx5rb-sim: " << *reason << "\n";
        return kExitFailure;
    }
    std::cout << server.TerminalPath() << std::endl;

    const bool served = server.Serve();
    if (!served)
        std::cerr << "nx5rb-sim: " << server.Error() << "\n";
    const bool saved = options.SavePath.empty() || Save(options.SavePath, radio.Memory());
    return served && saved ? kExitOk : kExitFailure;
}
