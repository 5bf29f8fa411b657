// The calibration chart of one band's tune table: a window of its own beside the tune page, and
// the same chart drawn into an image for the command line.
#pragma once

#include "editors/tune_chart_model.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

class QPushButton;

namespace nx5rb {

class CalibrationPlots;

// A non-modal top-level window ("频段-A 灵敏度/功率 曲线", objectName "CalibrationChartA" and
// likewise for B and C). The owner feeds it models as the working copy changes; it never reads the
// image or files itself. Needs a QApplication.
class CalibrationChart final : public QWidget
{
    Q_OBJECT

public:
    // `band` 0..2. With a parent the window stays a window of its own, owned by the parent.
    explicit CalibrationChart(int band, QWidget *parent = nullptr);

    // Replaces the shown values and points in place; cheap enough for every committed cell.
    void Update(const TuneChartModel &model);
    // The current data's file, named in the legend while comparing; empty shows "当前数据".
    void SetCurrentFileName(const QString &fileName);
    // Overlays the same curves and thresholds of another file, dashed, named after `fileName`.
    void SetCompare(const TuneChartModel &model, const QString &fileName);
    void ClearCompare();
    bool Comparing() const;

signals:
    // "对比文件(&C)..." was clicked: the owner asks for a data file, opens it and calls SetCompare.
    void CompareRequested();

private:
    CalibrationPlots *plots_ = nullptr;
    QPushButton *clearCompare_ = nullptr;
};

// The chart's curves and thresholds (without the window's buttons) drawn into an image of `size`
// without showing anything. `compare` may be null; the names are the files' as the legend shows
// them while comparing. Needs a QApplication (any platform, "offscreen" included).
QImage RenderCalibrationChart(const TuneChartModel &model, const TuneChartModel *compare,
                              const QString &currentName, const QString &compareName, QSize size);

} // namespace nx5rb
