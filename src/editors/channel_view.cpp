#include "editors/channel_view.h"

#include "image/freq_codec.h"
#include "image/records.h"
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
        const ConstChannelRecord record = ChannelAt(image, channel);
        if (!record.Exists(doc.FreqAreas))
            continue;
        grid.SetText(channel, kColRxFreq, DataToFreq(image, r + mm::kChRxFreq));
        grid.SetText(channel, kColRxTone, DataToQt(image, r + mm::kChRxTone));
        if (record.TransmitExists(doc.FreqAreas)) {
            grid.SetText(channel, kColTxFreq, DataToFreq(image, r + mm::kChTxFreq));
            grid.SetText(channel, kColTxTone, DataToQt(image, r + mm::kChTxTone));
        }
        grid.SetText(channel, kColBandwidth, record.Narrow() ? kNarrow : kWide);
        grid.SetText(channel, kColPower, record.LowPower() ? kLow : kHigh);
        grid.SetText(channel, kColScan, record.InScan() ? kScanAdd : kScanDelete);
    }
}

} // namespace nx5rb
