#include "support/child_process.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace nx5rb::test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::max<long long>(left, 0));
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

} // namespace

ChildProcess::ChildProcess(const std::string &program, const std::vector<std::string> &args)
{
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char *> argv = {const_cast<char *>(program.c_str())};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    CloseFd(outFd_);
    CloseFd(errFd_);
}

bool ChildProcess::Drain(int waitMs)
{
    std::array<pollfd, 2> watch = {pollfd {outFd_, POLLIN, 0}, pollfd {errFd_, POLLIN, 0}};
    if (outFd_ < 0 && errFd_ < 0)
        return false;
    const int ready = poll(watch.data(), watch.size(), waitMs);
    if (ready < 0)
        return errno == EINTR;
    std::array<char, 4096> chunk {};
    const auto take = [&chunk](pollfd &entry, int &fd, std::string &into) {
        if (fd < 0 || entry.revents == 0)
            return;
        const ssize_t count = read(fd, chunk.data(), chunk.size());
        if (count > 0)
            into.append(chunk.data(), std::size_t(count));
        else if (count == 0 || errno != EINTR)
            CloseFd(fd);
    };
    take(watch[0], outFd_, out_);
    take(watch[1], errFd_, err_);
    return outFd_ >= 0 || errFd_ >= 0;
}

std::string ChildProcess::FirstLine(int ceilingMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ceilingMs);
    while (out_.find('\n', lineTaken_) == std::string::npos && MsLeft(deadline) > 0)
        if (!Drain(MsLeft(deadline)))
            break;
    const std::size_t end = out_.find('\n', lineTaken_);
    if (end == std::string::npos)
        return {};
    std::string line = out_.substr(lineTaken_, end - lineTaken_);
    lineTaken_ = end + 1;
    return line;
}

int ChildProcess::Finish(int signal, int ceilingMs)
{
    if (pid_ <= 0)
        return -1;
    if (signal)
        kill(pid_, signal);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ceilingMs);
    while (MsLeft(deadline) > 0 && Drain(MsLeft(deadline))) { }
    int status = 0;
    pid_t reaped = 0;
    while ((reaped = waitpid(pid_, &status, WNOHANG)) == 0 && MsLeft(deadline) > 0)
        usleep(1000);
    if (reaped == 0) {
        hitCeiling_ = true;
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    CloseFd(outFd_);
    CloseFd(errFd_);
    return !hitCeiling_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProgramRun RunProgram(const std::string &program, const std::vector<std::string> &args)
{
    ChildProcess child(program, args);
    ProgramRun run;
    run.exitCode = child.Finish();
    run.out = child.Out();
    run.err = child.Err();
    return run;
}

} // namespace nx5rb::test
