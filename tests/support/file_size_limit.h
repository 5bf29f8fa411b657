// While it lives, the system refuses to let any file of the process grow past a few bytes: a way
// to make a write fail halfway that works whoever runs the tests (folder rights do not stop the
// superuser).
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace nx5rb::test {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        rlimit small = saved_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool Active() const { return active_; }

private:
    rlimit saved_ {};
    void (*handler_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace nx5rb::test
