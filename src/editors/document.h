// The data the pages edit: the radio image with its file header, the working copies that the
// pages change before they are applied to the image, and the tune tables' edge columns.
#pragma once

#include "image/data_file.h"
#include "image/radio_image.h"

#include <array>
#include <cstdint>

namespace nx5rb {

// An edge column of 17 means no frequency point lies above the limit.
inline constexpr std::int16_t kNoEdge = 17;

using ModulationRecordBytes = std::array<std::uint8_t, mm::kBandCount * mm::kSettingsBlockSize>;
using PowerOnMsgBytes = std::array<std::uint8_t, mm::kPowerOnLines * mm::kPowerOnLineLength>;

struct Document
{
    RadioImage Image {};
    FileHeaderBytes FileHeader {};
    // What the radio or a file is known to hold: blocks that went over the wire, or the whole image
    // after an open or a save.
    RadioImage SyncedImage {};
    // Edits in the working copies that are not applied to the image yet.
    bool DataChanged = false;

    // --- working copies ---
    FreqAreaTable FreqAreas {};
    std::uint8_t WorkBandsCode = 0;
    std::array<std::uint8_t, mm::kBandCount> WorkChannel {};
    TuneBufferBytes TuneBuffer {};
    ModulationRecordBytes ModulationRecords {};
    std::uint8_t MaxOffset = 0;
    PowerOnMsgBytes PowerOnMsg {};

    // --- tune-table edges: the first column above the receive or transmit limit, per band ---
    std::array<bool, mm::kBandCount> RxEdgeStale {};
    std::array<bool, mm::kBandCount> TxEdgeStale {};
    std::array<std::int16_t, mm::kBandCount> RxEdgeCol {};
    std::array<std::int16_t, mm::kBandCount> TxEdgeCol {};
};

} // namespace nx5rb
