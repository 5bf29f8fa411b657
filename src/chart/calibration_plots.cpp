#include "chart/calibration_plots.h"

#include "chart/chart_text.h"

#include <algorithm>

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

namespace nx5rb {

namespace {

using CurveValues = std::array<std::uint8_t, kChartPoints> TuneChartModel::*;
constexpr std::array<CurveValues, 3> kCurveValues
    = {&TuneChartModel::Sensitivity, &TuneChartModel::LowPower, &TuneChartModel::HighPower};
constexpr std::array<const char *, 3> kCurveName
    = {chart_text::kSensitivity, chart_text::kLowPower, chart_text::kHighPower};
constexpr std::array<const char *, 3> kCurveObject = {"Sensitivity", "LowPower", "HighPower"};
constexpr int kSensitivityCurve = 0;

using ThresholdValues = std::array<std::uint8_t, kChartDetectionColumns> TuneChartModel::*;
constexpr std::array<ThresholdValues, 2> kThresholdValues
    = {&TuneChartModel::SquelchHigh, &TuneChartModel::SquelchLow};
constexpr std::array<const char *, 2> kThresholdName
    = {chart_text::kSquelchHigh, chart_text::kSquelchLow};
constexpr std::array<const char *, 2> kThresholdObject = {"SquelchHigh", "SquelchLow"};

constexpr std::array<QColor, 3> kCurveColour
    = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28)};
constexpr std::array<QColor, 2> kThresholdColour
    = {QColor(0x6a, 0x3d, 0x9a), QColor(0xca, 0xb2, 0xd6)};
// The receive lock hatches one way, the transmit lock the other: where both hold, the hatching
// crosses.
constexpr QColor kRxLockedColour(0x70, 0x70, 0x70);
constexpr QColor kTxLockedColour(0xe0, 0x80, 0x10);

constexpr qreal kCurveWidth = 2;
constexpr qreal kMarkerSize = 4;
constexpr int kAxisMargin = 5; // room between the extreme value and the chart's edge
constexpr int kAxisRound = 10;
constexpr int kMinimumSpan = 20;
constexpr int kMostSpareRange = 2;
constexpr int kCompareAlpha = 60; // the compared file's bars are filled faintly
const QList<qreal> kCompareDashes = {3, 2}; // in pen widths: dash, gap

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Both ends rounded to tens. An axis that still holds every value, with room, and is not more
// than twice the span the values need keeps its range: the curve a technician is tuning does not
// jump under their eye, and a frame without a new range is much cheaper to paint.
void FitValueAxis(QValueAxis *axis, int low, int high)
{
    const int from = std::max(0, low - kAxisMargin) / kAxisRound * kAxisRound;
    int to = (high + kAxisMargin + kAxisRound - 1) / kAxisRound * kAxisRound;
    to = std::max(to, from + kMinimumSpan);
    const qreal span = axis->max() - axis->min();
    if (axis->min() <= std::max(0, low - 1) && axis->max() >= high + 1
        && span <= kMostSpareRange * (to - from))
        return;
    const int interval = to - from <= 60 ? 10 : to - from <= 120 ? 20 : 50;
    axis->setRange(from, to);
    if (axis->tickInterval() != interval)
        axis->setTickInterval(interval);
}

QValueAxis *NewValueAxis(const char *title)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(Text(title));
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    return axis;
}

QList<QPointF> CurvePoints(const TuneChartModel &model, int curve)
{
    const auto &values = model.*kCurveValues[curve];
    QList<QPointF> points;
    points.reserve(kChartPoints);
    for (int point = 0; point < kChartPoints; ++point)
        points.append(QPointF(model.PointsMHz[point], values[point]));
    return points;
}

void FillThresholds(QBarSet *set, const TuneChartModel &model, int threshold)
{
    const auto &values = model.*kThresholdValues[threshold];
    for (int g = 0; g < kChartDetectionColumns; ++g)
        if (set->at(g) != values[g])
            set->replace(g, values[g]);
}

QBarSet *NewThresholdSet(int threshold, bool compare)
{
    auto *set = new QBarSet(Text(kThresholdName[threshold]));
    set->setObjectName(QString::fromLatin1(kThresholdObject[threshold])
                       + (compare ? QStringLiteral("Compare") : QString()));
    for (int g = 0; g < kChartDetectionColumns; ++g)
        set->append(0);
    QColor fill = kThresholdColour[threshold];
    QPen pen(fill.darker(130), 1);
    if (compare) {
        fill.setAlpha(kCompareAlpha);
        pen = QPen(kThresholdColour[threshold].darker(150), kCurveWidth, Qt::DashLine);
    }
    set->setBrush(fill);
    set->setPen(pen);
    return set;
}

// The name of the file without its folder, as the legend shows it.
QString ShownName(const QString &fileName)
{
    return QFileInfo(fileName).fileName();
}

QChartView *NewView(QChart *chart, const char *accessibleName, QWidget *parent)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    auto *view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(Text(accessibleName));
    return view;
}

} // namespace

CalibrationPlots::CalibrationPlots(QWidget *parent)
    : QWidget(parent)
{
    BuildTuneChart();
    BuildSquelchChart();
    tuneView_ = NewView(tuneChart_, chart_text::kTuneChartName, this);
    tuneView_->setObjectName(QStringLiteral("TuneChart"));
    squelchView_ = NewView(squelchChart_, chart_text::kSquelchChartName, this);
    squelchView_->setObjectName(QStringLiteral("SquelchChart"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The curves carry most of the reading; the thresholds are eight bars in two groups.
    layout->addWidget(tuneView_, 3);
    layout->addWidget(squelchView_, 2);

    Update(model_);
    // Every curve is named from the start, not only once a file is named or compared.
    Rename();
}

void CalibrationPlots::BuildTuneChart()
{
    tuneChart_ = new QChart;
    frequencyAxis_ = NewValueAxis(chart_text::kFrequencyAxis);
    powerAxis_ = NewValueAxis(chart_text::kPowerAxis);
    sensitivityAxis_ = NewValueAxis(chart_text::kSensitivityAxis);
    // The shading spans the plot's full height whatever the values' ranges are.
    shadingAxis_ = new QValueAxis;
    shadingAxis_->setRange(0, 1);
    shadingAxis_->setVisible(false);
    tuneChart_->addAxis(frequencyAxis_, Qt::AlignBottom);
    tuneChart_->addAxis(powerAxis_, Qt::AlignLeft);
    tuneChart_->addAxis(sensitivityAxis_, Qt::AlignRight);
    tuneChart_->addAxis(shadingAxis_, Qt::AlignLeft);
    // A curve's legend entry is a piece of its line, so that the compared file's dashed curves
    // stand apart from the solid ones of the current data.
    tuneChart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    // Shading first, so the curves are drawn over it.
    const auto addShading
        = [&](Shading &shading, const char *name, const char *object, const QBrush &brush) {
              shading.area = new QAreaSeries;
              shading.upper = new QLineSeries(shading.area);
              shading.lower = new QLineSeries(shading.area);
              shading.area->setUpperSeries(shading.upper);
              shading.area->setLowerSeries(shading.lower);
              shading.area->setName(Text(name));
              shading.area->setObjectName(QString::fromLatin1(object));
              shading.area->setBrush(brush);
              shading.area->setPen(Qt::NoPen);
              tuneChart_->addSeries(shading.area);
              shading.area->attachAxis(frequencyAxis_);
              shading.area->attachAxis(shadingAxis_);
          };
    addShading(rxShading_, chart_text::kRxLocked, "RxLocked",
               QBrush(kRxLockedColour, Qt::BDiagPattern));
    addShading(txShading_, chart_text::kTxLocked, "TxLocked",
               QBrush(kTxLockedColour, Qt::FDiagPattern));

    for (int curve = 0; curve < kCurves; ++curve) {
        auto *series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(kCurveObject[curve]));
        series->setPen(QPen(kCurveColour[curve], kCurveWidth));
        series->setPointsVisible(true);
        series->setMarkerSize(kMarkerSize);
        tuneChart_->addSeries(series);
        series->attachAxis(frequencyAxis_);
        series->attachAxis(curve == kSensitivityCurve ? sensitivityAxis_ : powerAxis_);
        curves_[curve] = series;
    }
}

void CalibrationPlots::BuildSquelchChart()
{
    squelchChart_ = new QChart;
    squelchChart_->setTitle(Text(chart_text::kSquelch));
    auto *columns = new QBarCategoryAxis;
    for (const char *caption : chart_text::kDetection)
        columns->append(Text(caption));
    thresholdAxis_ = NewValueAxis(chart_text::kThresholdAxis);
    squelchChart_->addAxis(columns, Qt::AlignBottom);
    squelchChart_->addAxis(thresholdAxis_, Qt::AlignLeft);

    squelch_ = new QBarSeries;
    for (int threshold = 0; threshold < kThresholds; ++threshold) {
        thresholds_[threshold] = NewThresholdSet(threshold, false);
        squelch_->append(thresholds_[threshold]);
    }
    squelchChart_->addSeries(squelch_);
    squelch_->attachAxis(columns);
    squelch_->attachAxis(thresholdAxis_);
}

void CalibrationPlots::Update(const TuneChartModel &model)
{
    // The band's title, so a saved picture says which band it shows.
    const QString title = Text(chart_text::kTitle[std::clamp(model.Band, 0, mm::kBandCount - 1)]);
    if (tuneChart_->title() != title)
        tuneChart_->setTitle(title);
    model_ = model;
    for (int curve = 0; curve < kCurves; ++curve)
        curves_[curve]->replace(CurvePoints(model_, curve));
    for (int threshold = 0; threshold < kThresholds; ++threshold)
        FillThresholds(thresholds_[threshold], model_, threshold);
    FitAxes();
}

void CalibrationPlots::SetCurrentName(const QString &name)
{
    currentName_ = ShownName(name);
    Rename();
}

void CalibrationPlots::SetCompare(const TuneChartModel &model, const QString &name)
{
    compareModel_ = model;
    compareName_ = ShownName(name);
    if (!compareCurves_[0])
        AddCompareSeries();
    FillCompare();
    Rename();
    FitAxes();
}

void CalibrationPlots::ClearCompare()
{
    if (!compareModel_)
        return;
    compareModel_.reset();
    RemoveCompareSeries();
    Rename();
    FitAxes();
}

void CalibrationPlots::AddCompareSeries()
{
    for (int curve = 0; curve < kCurves; ++curve) {
        auto *series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(kCurveObject[curve]) + QStringLiteral("Compare"));
        QPen dashed(kCurveColour[curve], kCurveWidth);
        // Short dashes: the legend draws its entry with this pen on a short piece of line, which
        // must still show more than one dash.
        dashed.setDashPattern(kCompareDashes);
        series->setPen(dashed);
        series->setPointsVisible(true);
        series->setMarkerSize(kMarkerSize);
        tuneChart_->addSeries(series);
        series->attachAxis(frequencyAxis_);
        series->attachAxis(curve == kSensitivityCurve ? sensitivityAxis_ : powerAxis_);
        compareCurves_[curve] = series;
    }
    for (int threshold = 0; threshold < kThresholds; ++threshold) {
        compareThresholds_[threshold] = NewThresholdSet(threshold, true);
        squelch_->append(compareThresholds_[threshold]);
    }
}

void CalibrationPlots::RemoveCompareSeries()
{
    for (QLineSeries *&series : compareCurves_) {
        tuneChart_->removeSeries(series);
        delete series;
        series = nullptr;
    }
    for (QBarSet *&set : compareThresholds_) {
        squelch_->remove(set); // deletes the set
        set = nullptr;
    }
}

void CalibrationPlots::FillCompare()
{
    for (int curve = 0; curve < kCurves; ++curve)
        compareCurves_[curve]->replace(CurvePoints(*compareModel_, curve));
    for (int threshold = 0; threshold < kThresholds; ++threshold)
        FillThresholds(compareThresholds_[threshold], *compareModel_, threshold);
}

void CalibrationPlots::Rename()
{
    const QString pattern = Text(chart_text::kNamedSeries);
    const QString current = currentName_.isEmpty() ? Text(chart_text::kCurrentData) : currentName_;
    const auto name = [&](const char *what, const QString &file) {
        return Comparing() ? pattern.arg(Text(what), file) : Text(what);
    };
    for (int curve = 0; curve < kCurves; ++curve) {
        curves_[curve]->setName(name(kCurveName[curve], current));
        if (compareCurves_[curve])
            compareCurves_[curve]->setName(name(kCurveName[curve], compareName_));
    }
    for (int threshold = 0; threshold < kThresholds; ++threshold) {
        thresholds_[threshold]->setLabel(name(kThresholdName[threshold], current));
        if (compareThresholds_[threshold])
            compareThresholds_[threshold]->setLabel(name(kThresholdName[threshold], compareName_));
    }
}

void CalibrationPlots::FitAxes()
{
    std::array<const TuneChartModel *, 2> shown = {&model_, nullptr};
    if (compareModel_)
        shown[1] = &*compareModel_;

    int firstPoint = model_.PointsMHz.front();
    int lastPoint = model_.PointsMHz.back();
    int lowPower = 255, highPower = 0, lowSensitivity = 255, highSensitivity = 0, highThreshold = 0;
    for (const TuneChartModel *model : shown) {
        if (!model)
            continue;
        firstPoint = std::min(firstPoint, model->PointsMHz.front());
        lastPoint = std::max(lastPoint, model->PointsMHz.back());
        for (int point = 0; point < kChartPoints; ++point) {
            lowPower
                = std::min({lowPower, int(model->LowPower[point]), int(model->HighPower[point])});
            highPower
                = std::max({highPower, int(model->LowPower[point]), int(model->HighPower[point])});
            lowSensitivity = std::min(lowSensitivity, int(model->Sensitivity[point]));
            highSensitivity = std::max(highSensitivity, int(model->Sensitivity[point]));
        }
        for (int g = 0; g < kChartDetectionColumns; ++g)
            highThreshold
                = std::max({highThreshold, int(model->SquelchHigh[g]), int(model->SquelchLow[g])});
    }
    FitValueAxis(powerAxis_, lowPower, highPower);
    FitValueAxis(sensitivityAxis_, lowSensitivity, highSensitivity);
    FitValueAxis(thresholdAxis_, 0, highThreshold);

    // Half a step of room on either side, and a tick under every point of the current data.
    const int step = std::max(1, model_.StepMHz);
    const qreal from = firstPoint - step / 2.0;
    const qreal to = lastPoint + step / 2.0;
    if (frequencyAxis_->min() != from || frequencyAxis_->max() != to)
        frequencyAxis_->setRange(from, to);
    if (frequencyAxis_->tickAnchor() != model_.PointsMHz.front())
        frequencyAxis_->setTickAnchor(model_.PointsMHz.front());
    if (frequencyAxis_->tickInterval() != step)
        frequencyAxis_->setTickInterval(step);

    PlaceShading(rxShading_, model_.RxEdgeCol);
    PlaceShading(txShading_, model_.TxEdgeCol);
}

// The locked region begins half a step before the first locked point, so every locked marker
// sits inside it and every editable one outside.
void CalibrationPlots::PlaceShading(Shading &shading, int edgeCol)
{
    const bool locked = edgeCol > kChartFirstColumn && edgeCol < kChartNoEdge;
    if (shading.area->isVisible() != locked)
        shading.area->setVisible(locked);
    if (!locked)
        return;
    const int step = std::max(1, model_.StepMHz);
    const qreal from = model_.PointsMHz[edgeCol - kChartFirstColumn] - step / 2.0;
    const qreal to = frequencyAxis_->max();
    const QList<QPointF> upper = {QPointF(from, 1), QPointF(to, 1)};
    const QList<QPointF> lower = {QPointF(from, 0), QPointF(to, 0)};
    if (shading.upper->points() != upper) {
        shading.upper->replace(upper);
        shading.lower->replace(lower);
    }
}

} // namespace nx5rb
