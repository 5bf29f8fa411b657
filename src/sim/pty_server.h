// The virtual radio (or a replay of a trace) behind a pseudo-terminal, so that the tool can open it
// like a serial port.
// Single-threaded: one poll loop reacts to the tool's bytes at once and writes the radio's answers
// when they would have crossed a real line at the chosen baud rate.
#pragma once

#include "sim/radio_end.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace nx5rb {

class PtyServer
{
public:
    // baud 0: answers go out as soon as they are made.
    PtyServer(RadioEnd &radio, int baud);
    ~PtyServer();
    PtyServer(const PtyServer &) = delete;
    PtyServer &operator=(const PtyServer &) = delete;

    // Creates the pseudo-terminal in raw mode. The server keeps the terminal side open itself,
    // so the tool may close and reopen it between transfers without the line hanging up.
    // The system's reason on failure.
    std::optional<std::string> Open();
    // The path the tool opens, e.g. "/dev/pts/5".
    const std::string &TerminalPath() const { return terminalPath_; }

    // Serves until SIGINT or SIGTERM arrives (true), or the terminal fails (false, with the
    // reason in Error()). The two signals are blocked outside the wait, so none is lost.
    bool Serve();
    const std::string &Error() const { return error_; }

private:
    struct Outgoing
    {
        std::int64_t dueNs = 0;
        Bytes bytes;
        std::size_t written = 0;
    };

    bool ReadFromTool(std::int64_t now);
    bool WriteDue(std::int64_t now);
    std::int64_t WireNs(std::size_t bytes) const;

    RadioEnd &radio_;
    int baud_ = 0;
    int master_ = -1;
    int terminal_ = -1; // our own descriptor of the tool's side
    std::string terminalPath_;
    std::string error_;
    std::deque<Outgoing> outgoing_;
    std::int64_t toRadioFreeNs_ = 0;
    std::int64_t toToolFreeNs_ = 0;
};

} // namespace nx5rb
