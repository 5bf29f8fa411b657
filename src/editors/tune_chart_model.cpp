#include "editors/tune_chart_model.h"

#include "image/records.h"

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

    const int first = BandInfoOf(image).Area(band).Limits().TuneFreq;
    const ConstTuneTable table(tuneBlock);
    for (int point = 0; point < kChartPoints; ++point) {
        model.PointsMHz[point] = first + point * model.StepMHz;
        model.Sensitivity[point] = table.Sensitivity(point);
        model.LowPower[point] = table.LowPower(point);
        model.HighPower[point] = table.HighPower(point);
    }
    for (int g = 0; g < kChartDetectionColumns; ++g) {
        model.SquelchHigh[g] = table.SquelchHigh(g);
        model.SquelchLow[g] = table.SquelchLow(g);
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

TuneChartModel TuneChartModelOf(const Document &document, int band)
{
    return BuildTuneChartModel(document.Image, band, TuneBlockOf(document.TuneBuffer, band),
                               document.RxEdgeCol[band], document.TxEdgeCol[band]);
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
