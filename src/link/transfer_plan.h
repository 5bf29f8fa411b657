// Which blocks a transfer moves, as the request flags of its command choose them: the first
// address range, the blocks a band's range steps over (comparing only the low byte of the
// address), and what follows an exhausted range.
#pragma once

#include "image/memory_map.h"

#include <cstdint>
#include <vector>

namespace nx5rb {

// Request flags set by the transfer commands.
struct TransferFlags
{
    bool WantBandA = false;
    bool WantBandB = false;
    bool WantBandC = false;
    bool WantOption = false;
    bool WantChannels = false;
    bool WantAll = false;
    bool WantBandStart = false;
};

// Every block a transfer with these flags moves, in the order of the wire.
std::vector<std::uint16_t> PlanBlocks(TransferFlags flags, bool readMode);

} // namespace nx5rb
