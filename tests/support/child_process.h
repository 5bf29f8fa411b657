// The programs of the build run as child processes: the virtual radio on its pseudo-terminal and
// the command line tool. A child that outlives its test is killed, so no run leaves one behind.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace nx5rb::test {

// How long a child may take for anything the tests wait on before it counts as hung.
inline constexpr int kChildCeilingMs = 30'000;

class ChildProcess
{
public:
    // Starts `program` with `args`; its standard output and error go to pipes read by the test.
    ChildProcess(const std::string &program, const std::vector<std::string> &args);
    // Kills the child if it still runs and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool Started() const { return pid_ > 0; }

    // The first line of standard output without its newline; empty when none came in time.
    std::string FirstLine(int ceilingMs = kChildCeilingMs);

    // Sends `signal` (0: none), reads both outputs to their end and reaps the child. The exit
    // status, or -1 when the child died of a signal or had to be killed at the ceiling.
    int Finish(int signal = 0, int ceilingMs = kChildCeilingMs);
    bool HitCeiling() const { return hitCeiling_; }

    // Everything written so far (after Finish: everything).
    const std::string &Out() const { return out_; }
    const std::string &Err() const { return err_; }

private:
    // Reads what is waiting on the two pipes for at most `waitMs`; false once both are closed.
    bool Drain(int waitMs);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
    std::size_t lineTaken_ = 0;
    bool hitCeiling_ = false;
};

// Runs a program to its end.
struct ProgramRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};
ProgramRun RunProgram(const std::string &program, const std::vector<std::string> &args);

} // namespace nx5rb::test
