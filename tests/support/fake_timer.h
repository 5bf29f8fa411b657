// A window timer that ticks only when the test (or the fuzzer) says so.
#pragma once

#include "link/serial_port.h"

namespace nx5rb::test {

class FakeTimer final : public LinkTimer
{
public:
    void SetInterval(int milliseconds) override { interval = milliseconds; }
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
    // A tick, as the window timer would raise it while enabled.
    void Fire()
    {
        if (enabled && OnTimer)
            OnTimer();
    }

    int interval = 0;
    bool enabled = false;
};

} // namespace nx5rb::test
