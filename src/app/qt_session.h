// A session on Qt's seams: the port object (a numbered port, a device or the virtual radio), the
// window timers and the event loop. The window and nx5rb-cli each hold one.
#pragma once

#include "app/comm_port.h"
#include "app/port_select.h"
#include "app/session.h"
#include "link/qt/qt_event_pump.h"
#include "link/qt/qt_link_timer.h"

namespace nx5rb {

class QtSession
{
public:
    // `pausesInput` false: the pause after a write-all is skipped (no window to keep busy).
    QtSession(const PortSelection &port, Prompt &prompt, FileChooser *files, bool pausesInput);

    Session &Get() { return session_; }
    const Session &Get() const { return session_; }
    CommPort &Port() { return port_; }
    const PortSelection &Ports() const { return ports_; }
    PortSelection &Ports() { return ports_; }
    // The port dialog's choice: a running transfer is abandoned by closing the port, and the next
    // transfer opens the chosen port.
    void ChoosePort(const PortSelection &chosen);

private:
    PortSelection ports_;
    CommPort port_;
    QtLinkTimer timer1_;
    QtLinkTimer timer2_;
    QtEventPump pump_;
    Session session_;
};

} // namespace nx5rb
