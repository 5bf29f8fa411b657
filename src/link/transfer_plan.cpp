#include "link/transfer_plan.h"

#include <optional>

namespace nx5rb {

namespace {

std::uint8_t LowByte(std::uint16_t address)
{
    return std::uint8_t(address & 0xFF);
}

struct AddressRange
{
    std::uint16_t start = 0;
    std::uint16_t end = 0; // exclusive
};

// The first range of a transfer; the first flag that is set decides.
AddressRange FirstRange(const TransferFlags &flags)
{
    if (flags.WantBandA)
        return {mm::kTuneBlock[0], mm::kBandARangeEnd};
    if (flags.WantBandB)
        return {mm::kTuneBlock[1], mm::kBandBRangeEnd};
    if (flags.WantBandC)
        return {mm::kTuneBlock[2], mm::kTuneRegionEnd};
    if (flags.WantOption)
        return {mm::kPowerOnMsg, mm::kPowerOnMsgEnd};
    if (flags.WantChannels)
        return {mm::kChannelTableStart, mm::kChannelTableEnd};
    return {mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd};
}

// The block actually requested for `address`: a band transfer steps over blocks that belong to
// another band. Only the low byte of the address is compared.
std::uint16_t ApplySkip(std::uint16_t address, const TransferFlags &flags, bool readMode)
{
    // Band A's range runs over band B's tune block to reach A's settings block.
    if (flags.WantBandA && LowByte(address) == LowByte(mm::kTuneBlock[1]))
        return mm::kSettingsBlock[0];
    if (readMode)
        return address;
    // A write leaves the other bands' blocks alone.
    if (flags.WantBandB && LowByte(address) == LowByte(mm::kSettingsBlock[0]))
        return mm::kSettingsBlock[1];
    if (flags.WantBandC && LowByte(address) == LowByte(mm::kTuneBlock[0]))
        return mm::kSettingsBlock[2];
    return address;
}

// The range after an exhausted one, clearing the flag it consumes; nothing when the transfer is
// complete.
std::optional<AddressRange> NextRange(TransferFlags &flags, bool readMode)
{
    if (flags.WantAll) {
        flags.WantAll = false;
        return AddressRange {mm::kTuneRegionStart, mm::kTuneRegionEnd};
    }
    if (!readMode && flags.WantBandStart) {
        flags.WantBandStart = false;
        return AddressRange {mm::kBandStartRecord0, mm::kBandStartEnd};
    }
    return std::nullopt;
}

} // namespace

std::vector<std::uint16_t> PlanBlocks(TransferFlags flags, bool readMode)
{
    std::vector<std::uint16_t> blocks;
    AddressRange range = FirstRange(flags);
    std::uint16_t address = range.start;
    // Each request steps 16 bytes on from the block it asked for, as the link does.
    while (blocks.size() < mm::kImageSize / mm::kBlockSize) {
        if (address >= range.end) {
            const auto next = NextRange(flags, readMode);
            if (!next)
                break;
            range = *next;
            address = range.start;
        }
        address = ApplySkip(address, flags, readMode);
        blocks.push_back(address);
        address = std::uint16_t(address + mm::kBlockSize);
    }
    return blocks;
}

} // namespace nx5rb
