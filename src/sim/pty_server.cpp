#include "sim/pty_server.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace nx5rb {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
constexpr std::int64_t kBitsPerByte = 10;
constexpr std::size_t kReadChunk = 4096;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int)
{
    stopRequested = 1;
}

std::int64_t NowNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

std::string SystemReason(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

PtyServer::PtyServer(RadioEnd &radio, int baud)
    : radio_(radio)
    , baud_(baud)
{ }

PtyServer::~PtyServer()
{
    if (master_ >= 0)
        close(master_);
    if (terminal_ >= 0)
        close(terminal_);
}

std::optional<std::string> PtyServer::Open()
{
    char name[256] = {};
    if (openpty(&master_, &terminal_, name, nullptr, nullptr) != 0)
        return SystemReason("openpty");
    terminalPath_ = name;

    // Raw: no echo, no line editing, no translation of the protocol's control bytes.
    termios mode {};
    if (tcgetattr(terminal_, &mode) != 0)
        return SystemReason("tcgetattr");
    cfmakeraw(&mode);
    cfsetispeed(&mode, B9600);
    cfsetospeed(&mode, B9600);
    if (tcsetattr(terminal_, TCSANOW, &mode) != 0)
        return SystemReason("tcsetattr");

    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return SystemReason("fcntl");
    return std::nullopt;
}

bool PtyServer::Serve()
{
    // The signals are only let through inside ppoll, which closes the gap between testing the
    // flag and going to sleep.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    struct sigaction action
    {
    };
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // Answers are due at exact instants; the default slack of a sleeping wait would add to
    // every exchange.
    prctl(PR_SET_TIMERSLACK, 1UL);

    while (!stopRequested) {
        std::int64_t now = NowNs();
        if (!WriteDue(now))
            return false;

        pollfd watch {master_, POLLIN, 0};
        timespec timeout {};
        timespec *wait = nullptr;
        if (!outgoing_.empty()) {
            const Outgoing &next = outgoing_.front();
            if (next.dueNs <= now) {
                watch.events |= POLLOUT; // due but the terminal was full
            } else {
                const std::int64_t waitNs = next.dueNs - now;
                timeout.tv_sec = time_t(waitNs / kNsPerSecond);
                timeout.tv_nsec = long(waitNs % kNsPerSecond);
                wait = &timeout;
            }
        }
        const int ready = ppoll(&watch, 1, wait, &waitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            error_ = SystemReason("ppoll");
            return false;
        }
        if (ready == 0)
            continue;
        if (watch.revents & POLLIN) {
            if (!ReadFromTool(NowNs()))
                return false;
        } else if (watch.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            error_ = "the pseudo-terminal failed";
            return false;
        }
    }
    return true;
}

bool PtyServer::ReadFromTool(std::int64_t now)
{
    std::uint8_t chunk[kReadChunk];
    const ssize_t count = read(master_, chunk, sizeof chunk);
    if (count < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return true;
        error_ = SystemReason("read");
        return false;
    }
    // The bytes left the tool now; they are in the radio once they have crossed the line.
    const std::int64_t atRadio = std::max(now, toRadioFreeNs_) + WireNs(std::size_t(count));
    toRadioFreeNs_ = atRadio;
    Bytes answer = radio_.Receive(std::span<const std::uint8_t>(chunk, std::size_t(count)));
    if (answer.empty())
        return true;
    const std::int64_t atTool = std::max(atRadio, toToolFreeNs_) + WireNs(answer.size());
    toToolFreeNs_ = atTool;
    outgoing_.push_back({atTool, std::move(answer), 0});
    return true;
}

bool PtyServer::WriteDue(std::int64_t now)
{
    while (!outgoing_.empty() && outgoing_.front().dueNs <= now) {
        Outgoing &next = outgoing_.front();
        const ssize_t count
            = write(master_, next.bytes.data() + next.written, next.bytes.size() - next.written);
        if (count < 0) {
            if (errno == EAGAIN || errno == EINTR)
                return true;
            error_ = SystemReason("write");
            return false;
        }
        next.written += std::size_t(count);
        if (next.written < next.bytes.size())
            return true;
        outgoing_.pop_front();
    }
    return true;
}

std::int64_t PtyServer::WireNs(std::size_t bytes) const
{
    if (baud_ <= 0)
        return 0;
    return std::int64_t(bytes) * kBitsPerByte * kNsPerSecond / baud_;
}

} // namespace nx5rb
