// The two charts of one band's tune table, stacked: the calibration curves over the frequency
// points with the locked regions shaded, and the squelch thresholds of the detection columns.
// The chart window and the off-screen renderer both show this widget, so both draw alike.
#pragma once

#include "editors/tune_chart_model.h"

#include <array>
#include <optional>

#include <QString>
#include <QWidget>

class QAreaSeries;
class QBarSeries;
class QBarSet;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace nx5rb {

class CalibrationPlots final : public QWidget
{
    Q_OBJECT

public:
    explicit CalibrationPlots(QWidget *parent = nullptr);

    // New values and points; the series keep their identity, only their points change.
    void Update(const TuneChartModel &model);
    // The name the current data carries in the legend while comparing; empty for "当前数据".
    void SetCurrentName(const QString &name);
    // Overlays the same curves and thresholds of another file, dashed, named after it.
    void SetCompare(const TuneChartModel &model, const QString &name);
    void ClearCompare();
    bool Comparing() const { return compareModel_.has_value(); }

private:
    static constexpr int kCurves = 3; // sensitivity, low power, high power
    static constexpr int kThresholds = 2; // high, low

    struct Shading
    {
        QAreaSeries *area = nullptr;
        QLineSeries *upper = nullptr;
        QLineSeries *lower = nullptr;
    };

    void BuildTuneChart();
    void BuildSquelchChart();
    void AddCompareSeries();
    void RemoveCompareSeries();
    void FillCompare();
    void Rename();
    void FitAxes();
    void PlaceShading(Shading &shading, int edgeCol);

    QChartView *tuneView_ = nullptr;
    QChartView *squelchView_ = nullptr;
    QChart *tuneChart_ = nullptr;
    QChart *squelchChart_ = nullptr;
    QValueAxis *frequencyAxis_ = nullptr;
    QValueAxis *powerAxis_ = nullptr;
    QValueAxis *sensitivityAxis_ = nullptr;
    QValueAxis *shadingAxis_ = nullptr;
    QValueAxis *thresholdAxis_ = nullptr;
    std::array<QLineSeries *, kCurves> curves_ {};
    std::array<QLineSeries *, kCurves> compareCurves_ {};
    Shading rxShading_;
    Shading txShading_;
    QBarSeries *squelch_ = nullptr;
    std::array<QBarSet *, kThresholds> thresholds_ {};
    std::array<QBarSet *, kThresholds> compareThresholds_ {};

    TuneChartModel model_;
    std::optional<TuneChartModel> compareModel_;
    QString currentName_;
    QString compareName_;
};

} // namespace nx5rb
