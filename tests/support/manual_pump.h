// The event loop stood in for by hand: waiting runs a step (letting a radio answer, say) until the
// transfer is done or the step has nothing more to do; pauses are only recorded.
#pragma once

#include "link/event_pump.h"

#include <functional>
#include <vector>

namespace nx5rb::test {

class ManualPump final : public EventPump
{
public:
    explicit ManualPump(std::function<bool()> step)
        : step_(std::move(step))
    { }
    void WaitWhile(const std::function<bool()> &busy) override
    {
        while (busy() && step_()) { }
    }
    void PauseInput(int milliseconds) override { pauses.push_back(milliseconds); }

    std::vector<int> pauses;

private:
    std::function<bool()> step_;
};

} // namespace nx5rb::test
