// The pieces every end-to-end case stands on: nx5rb-sim serving its radio on a pseudo-terminal,
// the tool's real link stack opened on that terminal, and the radio's memory as data files.
#pragma once

#include "app/qt_session.h"
#include "image/radio_image.h"
#include "support/child_process.h"
#include "support/recording_prompt.h"

#include <csignal>
#include <string>
#include <vector>

namespace nx5rb::test {

inline const std::string kSimProgram = NX5RB_SIM_PROGRAM;
inline const std::string kCliProgram = NX5RB_CLI_PROGRAM;

// nx5rb-sim without pacing, keeping its memory in `savePath`; `extra` adds fault options.
class SimRadio
{
public:
    explicit SimRadio(const std::string &savePath, const std::vector<std::string> &extra = {});

    // The pseudo-terminal the radio answers on; empty when the program did not come up.
    const std::string &Terminal() const { return terminal_; }
    // SIGTERM: the radio saves its memory and exits. Its exit status.
    int Stop() { return process_.Finish(SIGTERM); }
    // SIGKILL: the radio vanishes at once, as an adapter pulled out of its socket.
    void Kill() { process_.Finish(SIGKILL); }
    // What it wrote on standard error (quiet: only failures).
    const std::string &Log() const { return process_.Err(); }

private:
    ChildProcess process_;
    std::string terminal_;
};

// The tool as the window wires it, with its port set to a device path.
class ToolRig
{
public:
    explicit ToolRig(const std::string &device);

    // Clicks the command's button and keeps the event loop running until LinkState is 0 again.
    // False when the transfer was still running at the ceiling (it is then abandoned).
    bool Run(TransferCommand command);

    RecordingPrompt prompt;
    QtSession tool; // no window to keep busy after a write-all
    WindowState &state = tool.Get().State();
    Link &link = tool.Get().LinkLayer();
    CommPort &port = tool.Port();
};

// The memory in a data file, or an erased image with a test failure when it cannot be read.
RadioImage ReadImage(const std::string &path);

// An address range, end exclusive.
struct Span
{
    mm::Address from;
    mm::Address to;
};

// Empty when `actual` holds `expected` over the range; otherwise where and how they first differ.
std::string Difference(const RadioImage &actual, const RadioImage &expected, Span span);

// What a transfer must leave behind: `source`'s bytes in the ranges it moved, `before`'s
// everywhere else. Empty when `actual` holds exactly that; otherwise the first address that
// does not.
std::string MovedOnly(const RadioImage &actual, const RadioImage &source, const RadioImage &before,
                      const std::vector<Span> &moved);

} // namespace nx5rb::test
