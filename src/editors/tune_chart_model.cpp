#include "editors/tune_chart_model.h"

#include "image/freq_codec.h"

#include <algorithm>
#include <string>

namespace nx5rb {

namespace {

constexpr int kBandB = 1;
constexpr int kStepBandB = 8;
constexpr int kStepOtherBands = 5;

} // namespace

TuneChartModel BuildTuneChartModel(const RadioImage &image, int band,
                                   std::span<const std::uint8_t, mm::kTuneBlockSize> tuneBlock,
                                   int rxEdgeCol, int txEdgeCol)
{
    TuneChartModel model;
    model.Band = band;
    model.StepMHz = band == kBandB ? kStepBandB : kStepOtherBands;

    const mm::Address tuneFreq = mm::kFreqAreaRecord[band] + mm::kFreqAreaTuneFreq;
    const int first = LeadingNumber(BandLimitText(image[tuneFreq], image[tuneFreq + 1]));
    for (int point = 0; point < kChartPoints; ++point) {
        model.PointsMHz[point] = first + point * model.StepMHz;
        model.Sensitivity[point] = tuneBlock[mm::kTuneSensitivity + point];
        model.LowPower[point] = tuneBlock[mm::kTuneLowPower + point];
        model.HighPower[point] = tuneBlock[mm::kTuneHighPower + point];
    }
    for (int g = 0; g < kChartDetectionColumns; ++g) {
        model.SquelchHigh[g] = tuneBlock[mm::kTuneSquelch + 2 * g];
        model.SquelchLow[g] = tuneBlock[mm::kTuneSquelch + 2 * g + 1];
    }
    model.RxEdgeCol = std::clamp(rxEdgeCol, kChartFirstColumn + 1, kChartNoEdge);
    model.TxEdgeCol = std::clamp(txEdgeCol, kChartFirstColumn + 1, kChartNoEdge);
    return model;
}

std::span<const std::uint8_t, mm::kTuneBlockSize> TuneBlockOf(const TuneBufferBytes &buffer,
                                                              int band)
{
    return std::span<const std::uint8_t, mm::kTuneBlockSize>(
        buffer.data() + band * mm::kTuneBlockSize, mm::kTuneBlockSize);
}

bool SensitivityLocked(const TuneChartModel &model, int point)
{
    return point + kChartFirstColumn >= model.RxEdgeCol;
}

bool PowerLocked(const TuneChartModel &model, int point)
{
    return point + kChartFirstColumn >= model.TxEdgeCol;
}

} // namespace nx5rb
