// The channel page: 128 memory channels with frequencies, sub-tones, bandwidth, power and scan
// membership, one grid row per channel.
#pragma once

#include "editors/channel_columns.h"
#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/text_grid.h"
#include "image/radio_image.h"

#include <array>
#include <string_view>

namespace nx5rb {

namespace channel_text {
inline constexpr std::string_view kFrame = "信道设置";
// The grid's header row, and our CSV layout's header.
inline constexpr std::array<std::string_view, kChannelCols> kCaption = [] {
    std::array<std::string_view, kChannelCols> captions {kNumber};
    for (const ChannelColumnRow &row : kChannelColumns)
        captions[std::size_t(row.col)] = row.caption;
    return captions;
}();
} // namespace channel_text

inline constexpr int kChannelRows = mm::kChannelCount + 1;

// What the channel grid shows.
struct ChannelCells
{
    ChannelCells();

    TextGrid Grid; // row n shows channel n (numbered n - 1 for the user)
};

// Image -> grid: rows of channels whose receive frequency is valid, each column as its row of
// the column table reads it (the transmit side only where the transmit frequency is valid).
void AnalyseChInfo(const Document &doc, ChannelCells &cells);

} // namespace nx5rb
