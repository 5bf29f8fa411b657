// A session on Qt's seams: the port object (a numbered port, a device or the virtual radio), the
// window timers and the event loop; optionally every byte on the line traced to a file. The window
// and nx5rb-cli each hold one.
#pragma once

#include "app/comm_port.h"
#include "app/port_select.h"
#include "app/session.h"
#include "link/qt/qt_event_pump.h"
#include "link/qt/qt_link_timer.h"
#include "link/serial_trace.h"

#include <memory>
#include <string>

namespace nx5rb {

struct QtSessionSetup
{
    PortSelection port;
    FileChooser *files = nullptr;
    // False: the pause after a write-all is skipped (no window to keep busy).
    bool pausesInput = true;
    SessionOptions options;
    // A serial trace of every byte sent and received goes to this file; none when empty.
    std::string tracePath;
};

class QtSession
{
public:
    QtSession(const QtSessionSetup &setup, Prompt &prompt);

    Session &Get() { return *session_; }
    const Session &Get() const { return *session_; }
    CommPort &Port() { return port_; }
    const PortSelection &Ports() const { return ports_; }
    PortSelection &Ports() { return ports_; }
    // Why the trace file could not be written; empty when tracing or not asked to.
    const std::string &TraceFailure() const { return traceFailure_; }
    // The port dialog's choice: a running transfer is abandoned by closing the port, and the next
    // transfer opens the chosen port.
    void ChoosePort(const PortSelection &chosen);

private:
    PortSelection ports_;
    CommPort port_;
    std::unique_ptr<TracingPort> trace_;
    std::string traceFailure_;
    QtLinkTimer timer1_;
    QtLinkTimer timer2_;
    QtEventPump pump_;
    std::unique_ptr<Session> session_;
};

} // namespace nx5rb
