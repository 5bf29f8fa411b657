#include "editors/channel_view.h"

#include "image/records.h"

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
    TextGrid &grid = cells.Grid;
    for (int row = 1; row < kChannelRows; ++row)
        for (int col = 1; col < kChannelCols; ++col)
            grid.SetText(row, col, "");

    for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
        const ConstChannelRecord record = ChannelAt(doc.Image, channel);
        if (!record.Exists(doc.FreqAreas))
            continue;
        const bool transmit = record.TransmitExists(doc.FreqAreas);
        for (const ChannelColumnRow &column : kChannelColumns)
            if (ColumnShows(column, transmit))
                grid.SetText(channel, column.col, column.shown(column, record));
    }
}

} // namespace nx5rb
