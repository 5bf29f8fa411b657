// The editors of the channel grid: the text box Text4 over the two frequency columns and the lists
// Combo1[0..4] over the tone and switch columns. Unlike the other pages, a committed cell goes
// straight into the image; the grid and the image are in step after every commit.
#pragma once

#include "editors/channel_view.h"
#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "image/radio_image.h"

#include <optional>
#include <string>
#include <string_view>

namespace nx5rb {

namespace channel_text {
inline constexpr std::string_view kOutOfRange = "频率超出范围！";
} // namespace channel_text

// The whole-MHz band edge a typed frequency is replaced by: above the highest band, in a gap
// between bands (bands ranked by their lower limit) or below the lowest. Nothing when the value
// may stay. Receive or transmit limits.
std::optional<int> FreqRangeCorrection(double mhz, const FreqAreaTable &areas, bool receive);

// The frequency moved to the channel raster, as the grid does it: MHz -> kHz and back through
// decimal texts of at most 15 significant digits, so that floating-point noise never reaches the
// stored digits ("145.003" -> "145.005", "136" -> "136"). Nothing when the text is not a number.
std::optional<std::string> SnapToRaster(std::string_view mhzText);

// The channel grid through the editor protocol. Cells are (row 1..128, col 0..7), each edited as
// its row of the column table says; a channel row without a receive frequency opens its receive
// frequency, a list of the transmit side without a transmit frequency opens the transmit
// frequency. Enter commits and closes: the grid does not move on.
class ChannelGridEditor final : public PageEditor<ChannelCells>
{
public:
    using PageEditor::PageEditor;

    // MSHFlexGridChInfo_Click.
    EditorOpen Open(CellRef clicked) override;
    // Text4_LostFocus for the frequency columns, Combo1_LostFocus for the lists.
    EditorCommit Commit(const EditorInput &input) override;

private:
    EditorCommit CommitFrequency(const std::string &typed);
    EditorCommit CommitCombo(const EditorInput &input);
};

} // namespace nx5rb
