// The calibration chart of arbitrary bytes: a data file's image (the bytes after its 16-byte
// header), the band and the two edge columns taken from the header's first bytes, and a working
// copy of the band's tune block that differs from the image when more bytes follow the file.
// The model must carry the working copy and the image's points unchanged, and the chart must show
// every value and every point inside its axes, whatever the bytes. Any crash, leak or undefined
// behaviour is a finding too.

#include "chart/calibration_plots.h"
#include "editors/tune_chart_model.h"
#include "invariant.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QAbstractSeries>
#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

namespace {

namespace mm = nx5rb::mm;

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kFileSize = kHeaderSize + mm::kImageSize;

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

// One widget application for the whole run, offscreen: the chart is never shown.
void EnsureApplication()
{
    static int argc = 3;
    static char name[] = "fuzz_tune_chart";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char *argv[] = {name, option, platform, nullptr};
    static QApplication app(argc, argv);
}

bool Inside(const QValueAxis *axis, qreal value)
{
    return value >= axis->min() && value <= axis->max();
}

void CheckShown(const nx5rb::CalibrationPlots &plots)
{
    const QChart *tune = plots.findChild<QChartView *>("TuneChart")->chart();
    for (QAbstractSeries *series : tune->series()) {
        const auto axes = series->attachedAxes();
        Check(axes.size() == 2, "every series has a frequency and a value axis");
        const auto *x = qobject_cast<QValueAxis *>(axes[0]);
        const auto *y = qobject_cast<QValueAxis *>(axes[1]);
        if (const auto *curve = qobject_cast<QLineSeries *>(series)) {
            Check(curve->count() == nx5rb::kChartPoints, "a curve has sixteen points");
            for (const QPointF &point : curve->points()) {
                Check(Inside(x, point.x()), "every point lies on the frequency axis");
                Check(Inside(y, point.y()), "every value lies on its axis");
            }
        } else if (const auto *area = qobject_cast<QAreaSeries *>(series); area->isVisible()) {
            const QPointF from = area->upperSeries()->at(0);
            Check(Inside(x, from.x()), "a locked region begins on the frequency axis");
        }
    }
    const QChart *squelch = plots.findChild<QChartView *>("SquelchChart")->chart();
    auto *bars = qobject_cast<QBarSeries *>(squelch->series().front());
    const auto *y = qobject_cast<QValueAxis *>(bars->attachedAxes().back());
    for (const QBarSet *set : bars->barSets())
        for (int g = 0; g < set->count(); ++g)
            Check(Inside(y, set->at(g)), "every threshold lies on its axis");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    EnsureApplication();
    static nx5rb::CalibrationPlots plots;

    const auto byte = [&](std::size_t at) { return at < size ? data[at] : std::uint8_t(0); };
    const int band = byte(0) % mm::kBandCount;
    const int rxEdge = std::int8_t(byte(1));
    const int txEdge = std::int8_t(byte(2));

    nx5rb::RadioImage image;
    image.fill(mm::kErased);
    if (size > kHeaderSize)
        std::copy_n(data + kHeaderSize, std::min(size - kHeaderSize, image.size()), image.begin());
    std::array<std::uint8_t, mm::kTuneBlockSize> block {};
    std::copy_n(image.begin() + mm::kTuneBlock[band], block.size(), block.begin());
    if (size > kFileSize)
        std::copy_n(data + kFileSize, std::min(size - kFileSize, block.size()), block.begin());

    const nx5rb::TuneChartModel model
        = nx5rb::BuildTuneChartModel(image, band, block, rxEdge, txEdge);
    Check(model.Band == band, "the model is of the asked band");
    Check(model.RxEdgeCol >= 2 && model.RxEdgeCol <= nx5rb::kChartNoEdge && model.TxEdgeCol >= 2
              && model.TxEdgeCol <= nx5rb::kChartNoEdge,
          "edges lie in 2..17");
    Check(model.PointsMHz.front() >= 0, "the first point is not negative");
    for (int point = 0; point < nx5rb::kChartPoints; ++point) {
        if (point > 0)
            Check(model.PointsMHz[point] - model.PointsMHz[point - 1] == model.StepMHz,
                  "points are one step apart");
        Check(model.Sensitivity[point] == block[mm::kTuneSensitivity + point]
                  && model.LowPower[point] == block[mm::kTuneLowPower + point]
                  && model.HighPower[point] == block[mm::kTuneHighPower + point],
              "the curves are the working copy");
    }

    // Compared with another band of the same image, whose points lie elsewhere.
    const int other = (band + 1) % mm::kBandCount;
    const nx5rb::TuneChartModel compare
        = nx5rb::BuildTuneChartModel(image, other,
                                     std::span<const std::uint8_t, mm::kTuneBlockSize>(
                                         image.data() + mm::kTuneBlock[other], mm::kTuneBlockSize),
                                     txEdge, rxEdge);
    plots.Update(model);
    if (byte(3) & 1)
        plots.SetCompare(compare, "other.dat");
    else
        plots.ClearCompare();
    CheckShown(plots);
    return 0;
}
