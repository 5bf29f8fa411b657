#include "editors/channel_view.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <string>

namespace nx5rb {

ChannelCells::ChannelCells()
    : Grid(kChannelRows, kChannelCols)
{
    for (int col = 0; col < kChannelCols; ++col)
        Grid.SetText(0, col, channel_text::kCaption[col]);
    for (int row = 1; row < kChannelRows; ++row)
        Grid.SetText(row, kColNumber, std::to_string(row - 1));
}

void AnalyseChInfo(const Document &doc, ChannelCells &cells)
{
    using namespace channel_text;
    TextGrid &grid = cells.Grid;
    for (int row = 1; row < kChannelRows; ++row)
        for (int col = 1; col < kChannelCols; ++col)
            grid.SetText(row, col, "");

    const RadioImage &image = doc.Image;
    for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
        const mm::Address r = mm::ChannelRecord(channel);
        if (!JudgeFreqVaid(image, doc.FreqAreas, r + mm::kChRxFreq, true))
            continue;
        grid.SetText(channel, kColRxFreq, DataToFreq(image, r + mm::kChRxFreq));
        grid.SetText(channel, kColRxTone, DataToQt(image, r + mm::kChRxTone));
        if (JudgeFreqVaid(image, doc.FreqAreas, r + mm::kChTxFreq, false)) {
            grid.SetText(channel, kColTxFreq, DataToFreq(image, r + mm::kChTxFreq));
            grid.SetText(channel, kColTxTone, DataToQt(image, r + mm::kChTxTone));
        }
        const std::uint8_t flags = image[r + mm::kChFlags];
        grid.SetText(channel, kColBandwidth, flags & mm::kFlagNarrow ? kNarrow : kWide);
        grid.SetText(channel, kColPower, flags & mm::kFlagLowPower ? kLow : kHigh);
        grid.SetText(channel, kColScan, flags & mm::kFlagScan ? kScanAdd : kScanDelete);
    }
}

} // namespace nx5rb
