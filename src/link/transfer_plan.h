// Which blocks a transfer moves: the address ranges chosen by the request flags, the blocks a
// range skips, and what follows an exhausted range.
#pragma once

#include "image/memory_map.h"

#include <cstdint>
#include <optional>
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

struct AddressRange
{
    std::uint16_t start = 0;
    std::uint16_t end = 0; // exclusive
};

// The first range of a transfer; the first flag that is set decides.
AddressRange FirstRange(const TransferFlags &flags);
// The block actually requested for `address`: a band transfer steps over blocks that belong to
// another band. Only the low byte of the address is compared.
std::uint16_t ApplySkip(std::uint16_t address, const TransferFlags &flags, bool readMode);
// The range after an exhausted one, clearing the flag it consumes; nothing when the transfer is
// complete.
std::optional<AddressRange> NextRange(TransferFlags &flags, bool readMode);

// Every block a transfer with these flags moves, in order.
std::vector<std::uint16_t> PlanBlocks(TransferFlags flags, bool readMode);

} // namespace nx5rb
