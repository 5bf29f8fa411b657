// The tune pages: per band, sensitivity and power calibration at sixteen frequency points and the
// squelch thresholds of eight detection columns. Points above the band's limits are shaded.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/modulation_view.h"
#include "editors/text_grid.h"
#include "image/radio_image.h"

#include <array>
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
inline constexpr int kTunePoints = 16;
inline constexpr int kSquelchRows = 3;
inline constexpr int kSquelchCols = 9;
inline constexpr int kSquelchColumns = 8;

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
