// nx5rb-sim: the virtual radio on a pseudo-terminal, for trying the tool and its command line
// without a handheld, and for the end-to-end tests of the link.
#include "image/data_file.h"
#include "link/serial_trace.h"
#include "sim/pty_server.h"
#include "sim/replay_radio.h"
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

// Creates the pseudo-terminal and prints its path for the tool.
bool OpenTerminal(nx5rb::PtyServer &server)
{
    if (const auto reason = server.Open()) {
        std::cerr << "nx5rb-sim: " << *reason << "\n";
        return false;
    }
    std::cout << server.TerminalPath() << std::endl;
    return true;
}

// Serves until interrupted; false when the terminal failed.
bool Serve(nx5rb::PtyServer &server)
{
    if (server.Serve())
        return true;
    std::cerr << "nx5rb-sim: " << server.Error() << "\n";
    return false;
}

int Replay(const nx5rb::SimOptions &options)
{
    using namespace nx5rb;
    const ParsedTrace trace = ReadTraceFile(options.ReplayPath);
    if (!trace.Reason.empty()) {
        std::cerr << "nx5rb-sim: " << options.ReplayPath;
        if (trace.BadLine > 0)
            std::cerr << ":" << trace.BadLine;
        std::cerr << ": " << trace.Reason << "\n";
        return kExitFailure;
    }
    ReplayRadio replay(trace.Lines);
    if (replay.FrameCount() == 0) {
        std::cerr << "nx5rb-sim: " << options.ReplayPath
                  << ": the trace holds nothing the tool sent\n";
        return kExitFailure;
    }
    replay.OnMismatch = [](const std::string &where) {
        std::cerr << "nx5rb-sim: the tool left the trace: " << where << std::endl;
    };
    PtyServer server(replay, options.Baud);
    if (!OpenTerminal(server))
        return kExitFailure;
    const bool served = Serve(server);
    if (!options.Quiet)
        std::cerr << "replay: " << replay.FramesMatched() << " of " << replay.FrameCount()
                  << " frames of the tool met" << std::endl;
    return served && replay.Mismatch().empty() ? kExitOk : kExitFailure;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace nx5rb;

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const SimOptions options = ParseSimArgs(args);
    if (!options.Error.empty()) {
        const std::string &usage = SimUsage();
        std::cerr << "nx5rb-sim: " << options.Error << "\n"
                  << usage.substr(0, usage.find('\n')) << " (--help for more)\n";
        return kExitUsage;
    }
    if (options.Help) {
        std::cout << SimUsage();
        return kExitOk;
    }

    if (!options.ReplayPath.empty())
        return Replay(options);

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
    if (!OpenTerminal(server))
        return kExitFailure;
    const bool served = Serve(server);
    const bool saved = options.SavePath.empty() || Save(options.SavePath, radio.Memory());
    return served && saved ? kExitOk : kExitFailure;
}
