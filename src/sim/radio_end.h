// The radio's end of the line as the servers of the tool's bytes see it: the virtual radio, or a
// replay of a recorded trace.
#pragma once

#include "link/serial_port.h"

#include <cstdint>
#include <span>

namespace nx5rb {

class RadioEnd
{
public:
    virtual ~RadioEnd() = default;
    // Feeds bytes from the tool, in any fragmentation, and returns the radio's answer to them
    // (possibly nothing).
    virtual Bytes Receive(std::span<const std::uint8_t> fromTool) = 0;
};

} // namespace nx5rb
