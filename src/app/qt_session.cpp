#include "app/qt_session.h"

namespace nx5rb {

QtSession::QtSession(const PortSelection &port, Prompt &prompt, FileChooser *files,
                     bool pausesInput)
    : ports_(ResolvePortNumber(port))
    , pump_(pausesInput)
    , session_({port_, timer1_, timer2_, prompt, pump_, files})
{
    // The port is configured but stays closed until a transfer opens it.
    port_.SetCommPort(ports_);
}

void QtSession::ChoosePort(const PortSelection &chosen)
{
    ports_ = chosen;
    if (port_.PortOpen())
        session_.Abort();
    port_.SetCommPort(ports_);
    ports_.PortChanged = false;
}

} // namespace nx5rb
