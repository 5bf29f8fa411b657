#include "cli/cli.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

#include <QCoreApplication>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDOUT_FILENO 1
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

// Standard output, buffered and written by the descriptor, keeping the reason of the first
// failure: a full disk or a closed stream shows only when the buffer is written out.
class StandardOutput final : public std::streambuf
{
public:
    StandardOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    // 0 while every byte has reached standard output; else the first failure's error number.
    int Failure() const { return failure_; }

protected:
    int_type overflow(int_type c) override
    {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain()
    {
        for (const char *from = pbase(); failure_ == 0 && from < pptr();) {
#ifdef _WIN32
            const auto written = _write(STDOUT_FILENO, from, unsigned(pptr() - from));
#else
            const auto written = write(STDOUT_FILENO, from, std::size_t(pptr() - from));
#endif
            if (written >= 0)
                from += written;
            else if (errno != EINTR)
                failure_ = errno;
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return failure_ == 0;
    }

    std::array<char, 1 << 16> buffer_ {};
    int failure_ = 0;
};

} // namespace

int main(int argc, char **argv)
{
    HoldClosedStandardStreams();
    // The backups go where the window puts them: the user's data folder of "nx5rb".
    QCoreApplication::setApplicationName("nx5rb");
    const std::vector<std::string> args(argv + 1, argv + argc);
    StandardOutput buffer;
    std::ostream out(&buffer);
    const int status = nx5rb::cli::RunCli(args, out, std::cerr, isatty(STDERR_FILENO) != 0);
    // What a command prints is its result: output that did not arrive fails the command.
    out.flush();
    if (buffer.Failure() == 0 && out)
        return status;
    std::cerr << "nx5rb-cli: standard output: "
              << std::strerror(buffer.Failure() != 0 ? buffer.Failure() : EIO) << "\n";
    // diff keeps 1 for "the files differ": its trouble is 2.
    return !args.empty() && args.front() == "diff" ? 2 : 1;
}
