// The write-all command's waits on the Qt event loop.
#pragma once

#include "link/event_pump.h"

namespace nx5rb {

class QtEventPump final : public EventPump
{
public:
    // With `pauses` false the pause after a write-all is skipped (no window to keep busy).
    explicit QtEventPump(bool pauses = true)
        : pauses_(pauses)
    { }

    void WaitWhile(const std::function<bool()> &busy) override;
    void PauseInput(int milliseconds) override;

private:
    bool pauses_;
};

} // namespace nx5rb
