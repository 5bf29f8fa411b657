// The tune pages: per band, sensitivity and power calibration at sixteen frequency points and the
// squelch thresholds of eight detection columns. Points above the band's limits are shaded.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/modulation_view.h"
#include "editors/text_grid.h"
#include "editors/view_rows.h"
#include "image/radio_image.h"

#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace tune_text {
inline constexpr std::array<std::string_view, mm::kBandCount> kFrame
    = {"频段-A 灵敏度/功率", "频段-B 灵敏度/功率", "频段-C 灵敏度/功率"};
inline constexpr std::string_view kFrequency = "频率";
inline constexpr std::array<std::string_view, 3> kTuneRowCaption = {"灵敏度", "低功率", "高功率"};
inline constexpr std::string_view kAtLeast = "≥";
inline constexpr std::string_view kSquelch = "静噪";
inline constexpr std::array<std::string_view, 2> kSquelchRowCaption = {"高阀值", "低阀值"};
inline constexpr std::array<std::string_view, 8> kDetection
    = {"检测1(宽)", "检测2(宽)", "检测3(宽)", "检测4(宽)",
       "检测1(窄)", "检测2(窄)", "检测3(窄)", "检测4(窄)"};
} // namespace tune_text

inline constexpr int kTuneRows = 4;
inline constexpr int kTuneCols = 17;
inline constexpr int kTunePoints = mm::kTunePoints;
inline constexpr int kSquelchRows = 3;
inline constexpr int kSquelchCols = 9;
inline constexpr int kSquelchColumns = mm::kSquelchColumns;

// The texts of the rows below, each value through its accessor of the band's tune table.
std::string SensitivityText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string LowPowerText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string HighPowerText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string SquelchHighText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string SquelchLowText(const ViewRow &row, const RadioImage &image, int band, int index);

// A tune page's ids start with this; the squelch thresholds' go on with the second part.
inline constexpr std::string_view kTuneIdPart = "tune";
inline constexpr std::string_view kSquelchIdPart = "squelch";

// The rows 1..3 of the tune grid, one value per frequency point in the band's tune block:
// committed by the tune grid's editor (TuneGridEditor) into the working copy TuneBuffer, held to
// the row's upper limit; an emptied box or text that is no number keeps the stored value.
inline constexpr std::array<ViewRow, 3> kTuneViewRows = {{
    {.id = "sensitivity",
     .caption = tune_text::kTuneRowCaption[0],
     .cell = {1, 1},
     .bandBase = &mm::kTuneBlock,
     .offset = mm::kTuneSensitivity,
     .count = kTunePoints,
     .text = SensitivityText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(127), {}},
     .dumpKey = "sensitivity"},
    {.id = "low_power",
     .caption = tune_text::kTuneRowCaption[1],
     .cell = {2, 1},
     .bandBase = &mm::kTuneBlock,
     .offset = mm::kTuneLowPower,
     .count = kTunePoints,
     .text = LowPowerText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(255), {}},
     .dumpKey = "low_power"},
    {.id = "high_power",
     .caption = tune_text::kTuneRowCaption[2],
     .cell = {3, 1},
     .bandBase = &mm::kTuneBlock,
     .offset = mm::kTuneHighPower,
     .count = kTunePoints,
     .text = HighPowerText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(255), {}},
     .dumpKey = "high_power"},
}};

// The rows 1..2 of the squelch grid, one value per detection column, high and low threshold of a
// column side by side in the tune block: committed by the squelch grid's editor
// (SquelchGridEditor) into TuneBuffer; an emptied box stands for the upper limit.
inline constexpr std::array<ViewRow, 2> kSquelchViewRows = {{
    {.id = "high",
     .caption = tune_text::kSquelchRowCaption[0],
     .valueCaptions = tune_text::kDetection,
     .cell = {1, 1},
     .bandBase = &mm::kTuneBlock,
     .offset = mm::kTuneSquelch,
     .count = kSquelchColumns,
     .stride = 2,
     .text = SquelchHighText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(127), {}},
     .dumpKey = "squelch_high"},
    {.id = "low",
     .caption = tune_text::kSquelchRowCaption[1],
     .valueCaptions = tune_text::kDetection,
     .cell = {2, 1},
     .bandBase = &mm::kTuneBlock,
     .offset = mm::kTuneSquelch + 1,
     .count = kSquelchColumns,
     .stride = 2,
     .text = SquelchLowText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(127), {}},
     .dumpKey = "squelch_low"},
}};

// What a band's tune page shows in its two grids.
struct TuneCells
{
    TuneCells();

    TextGrid Tune; // row 0 frequency points, rows 1..3 sensitivity, low and high power
    TextGrid Squelch; // rows 1..2 high and low thresholds
};

// MHz between two frequency points of a band.
int TunePointStep(int band);

using TuneCellsOfBands = std::array<TuneCells, mm::kBandCount>;

// Image -> tune grids, TuneBuffer and edges (where stale), and each band's modulation boxes.
void AnalyseTuneData(Document &doc, TuneCellsOfBands &tune, ModulationBoxesOfBands &modulation);
// TuneBuffer -> the three tune blocks.
void EncodeTuneBuffer(Document &doc);
// Sensitivity cells from the receive edge on, and power cells from the transmit edge on, are
// shaded and locked.
bool TuneCellShaded(const Document &doc, int band, int row, int col);

} // namespace nx5rb
