#include "app/qt_session.h"

#include "app/version.h"

namespace nx5rb {

QtSession::QtSession(const QtSessionSetup &setup, Prompt &prompt)
    : ports_(ResolvePortNumber(setup.port))
    , pump_(setup.pausesInput)
{
    // The port is configured but stays closed until a transfer opens it.
    port_.SetCommPort(ports_);
    SerialPort *port = &port_;
    if (!setup.tracePath.empty()) {
        TracingPortResult traced
            = TraceToFile(port_, setup.tracePath, "nx5rb " + std::string(VersionText()));
        if (traced.Port) {
            trace_ = std::move(traced.Port);
            port = trace_.get();
        } else {
            traceFailure_ = traced.Reason;
        }
    }
    session_ = std::make_unique<Session>(
        SessionSeams {*port, timer1_, timer2_, prompt, pump_, setup.files}, setup.options);
}

void QtSession::ChoosePort(const PortSelection &chosen)
{
    ports_ = chosen;
    if (port_.PortOpen())
        session_->Abort();
    port_.SetCommPort(ports_);
    ports_.PortChanged = false;
}

} // namespace nx5rb
