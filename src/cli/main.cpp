#include "cli/cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <QCoreApplication>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A standard stream the shell closed (">&-") gets /dev/null opened the wrong way round in its
// place: no file the command opens can take its number (and receive what was meant for the
// terminal), and writing to it fails, which the exit status then reports.
void HoldClosedStandardStreams()
{
#ifndef _WIN32
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
#endif
}

// Whether everything the command wrote reached standard output; a full disk or a closed stream
// shows only once the buffers are flushed.
bool StandardOutputWritten(std::string &reason)
{
    std::cout.flush();
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && std::cout && !std::ferror(stdout))
        return true;
    reason = errno != 0 ? std::strerror(errno) : "write error";
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    HoldClosedStandardStreams();
    // The backups go where the window puts them: the user's data folder of "nx5rb".
    QCoreApplication::setApplicationName("nx5rb");
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = nx5rb::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    std::string reason;
    if (StandardOutputWritten(reason))
        return status;
    std::cerr << "nx5rb-cli: standard output: " << reason << "\n";
    // diff keeps 1 for "the files differ": its trouble is 2.
    return !args.empty() && args.front() == "diff" ? 2 : 1;
}
