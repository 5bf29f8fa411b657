// The event loop as a transfer sees it: waiting for the transfer to end with events flowing (the
// transfer runs on them), and a pause in which the window takes no input.
#pragma once

#include <functional>

namespace nx5rb {

class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void WaitWhile(const std::function<bool()> &busy) = 0;
    virtual void PauseInput(int milliseconds) = 0;
};

} // namespace nx5rb
