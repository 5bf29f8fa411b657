// The calibration chart window as its owner drives it: models fed in place, a file compared and
// the comparison dropped, the compare button asking the owner; and the off-screen picture.
#include "app/window_state.h"
#include "chart/calibration_chart.h"
#include "editors/tune_chart_model.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QValueAxis>
#include <QtTest>

namespace nx5rb::test {

namespace {

TuneChartModel StartUpModel(int band)
{
    return TuneChartModelOf(WindowState(), band);
}

QChart *ChartOf(const QWidget &window, const char *view)
{
    return window.findChild<QChartView *>(QString::fromLatin1(view))->chart();
}

template<typename Series>
Series *SeriesOf(const QWidget &window, const char *name)
{
    for (QChart *chart : {ChartOf(window, "TuneChart"), ChartOf(window, "SquelchChart")})
        for (QAbstractSeries *series : chart->series())
            if (series->objectName() == QLatin1String(name))
                return qobject_cast<Series *>(series);
    return nullptr;
}

QBarSeries *Squelch(const QWidget &window)
{
    return qobject_cast<QBarSeries *>(ChartOf(window, "SquelchChart")->series().front());
}

// Everything the charts hold, by identity: an update must not rebuild any of it.
QList<QObject *> Parts(const QWidget &window)
{
    QList<QObject *> parts;
    for (QChart *chart : {ChartOf(window, "TuneChart"), ChartOf(window, "SquelchChart")}) {
        for (QAbstractSeries *series : chart->series())
            parts << series;
        for (QAbstractAxis *axis : chart->axes())
            parts << axis;
    }
    for (QBarSet *set : Squelch(window)->barSets())
        parts << set;
    return parts;
}

} // namespace

class CalibrationChartTest : public QObject
{
    Q_OBJECT

private slots:
    void EachBandHasItsWindow()
    {
        const struct
        {
            int band;
            const char *title;
            const char *object;
        } cases[] = {{0, "频段-A 灵敏度/功率 曲线", "CalibrationChartA"},
                     {1, "频段-B 灵敏度/功率 曲线", "CalibrationChartB"},
                     {2, "频段-C 灵敏度/功率 曲线", "CalibrationChartC"}};
        QWidget owner;
        for (const auto &c : cases) {
            auto *chart = new CalibrationChart(c.band, &owner);
            QVERIFY(chart->isWindow()); // a window of its own, though the owner keeps it
            QCOMPARE(chart->windowTitle(), QString::fromUtf8(c.title));
            QCOMPARE(chart->objectName(), QString::fromLatin1(c.object));
            QVERIFY(!chart->accessibleName().isEmpty());
        }
    }

    void UpdateMovesThePointInPlace()
    {
        CalibrationChart chart(0);
        chart.Update(StartUpModel(0));
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        const QList<QObject *> before = Parts(chart);

        // One step of one value, even past the axis's rounding: the axis a technician reads
        // against stays where it was.
        auto *sensitivity = SeriesOf<QLineSeries>(chart, "Sensitivity");
        auto *senseAxis = qobject_cast<QValueAxis *>(sensitivity->attachedAxes().back());
        TuneChartModel model = StartUpModel(0);
        model.Sensitivity[0] = 25;
        chart.Update(model);
        const std::pair<qreal, qreal> range(senseAxis->min(), senseAxis->max());
        model.Sensitivity[0] = 26;
        chart.Update(model);
        QCOMPARE(std::make_pair(senseAxis->min(), senseAxis->max()), range);

        model.Sensitivity[3] = 99;
        model.HighPower[15] = 1;
        model.SquelchLow[7] = 120;
        chart.Update(model);

        QCOMPARE(Parts(chart), before);
        QCOMPARE(sensitivity->count(), kChartPoints);
        QCOMPARE(sensitivity->at(3), QPointF(149, 99));
        QCOMPARE(SeriesOf<QLineSeries>(chart, "HighPower")->at(15), QPointF(209, 1));
        QCOMPARE(Squelch(chart)->barSets().at(1)->at(7), 120.0);
        // The new extremes stay inside their axes.
        QVERIFY(senseAxis->max() >= 99);
        auto *powerAxis = qobject_cast<QValueAxis *>(
            SeriesOf<QLineSeries>(chart, "HighPower")->attachedAxes().back());
        QVERIFY(powerAxis->min() <= 1);
    }

    // The shading begins between the last editable point and the first locked one.
    void ShadingFollowsTheEdges()
    {
        const struct
        {
            int rxEdge;
            int txEdge;
        } cases[] = {{10, 10}, {17, 5}, {2, 17}, {16, 16}};
        CalibrationChart chart(1);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        for (const auto &c : cases) {
            TuneChartModel model = StartUpModel(1);
            model.RxEdgeCol = c.rxEdge;
            model.TxEdgeCol = c.txEdge;
            chart.Update(model);
            const std::pair<const char *, int> shadings[]
                = {{"RxLocked", c.rxEdge}, {"TxLocked", c.txEdge}};
            for (const auto &[name, edge] : shadings) {
                const QString where = QString("%1 at edge %2").arg(name).arg(edge);
                auto *area = SeriesOf<QAreaSeries>(chart, name);
                QVERIFY2(area->isVisible() == (edge < kChartNoEdge), qPrintable(where));
                // No legend entry for a region that is not there.
                const auto markers = ChartOf(chart, "TuneChart")->legend()->markers(area);
                QVERIFY2(markers.size() == 1 && markers.front()->isVisible() == area->isVisible(),
                         qPrintable(where));
                if (edge == kChartNoEdge)
                    continue;
                const qreal from = area->upperSeries()->at(0).x();
                QVERIFY2(from < model.PointsMHz[edge - 1], qPrintable(where));
                QVERIFY2(from > model.PointsMHz[edge - 2], qPrintable(where));
            }
        }
    }

    void CompareAddsDashedSeriesNamedAfterTheFile()
    {
        CalibrationChart chart(2);
        chart.Update(StartUpModel(2));
        const QList<QObject *> before = Parts(chart);
        auto *clear = chart.findChild<QPushButton *>("CommandClearCompare");
        QVERIFY(!clear->isEnabled());

        TuneChartModel other = StartUpModel(2);
        other.LowPower[0] = 50;
        other.SquelchHigh[0] = 10;
        chart.SetCompare(other, "/radios/shop/other.dat");
        QVERIFY(chart.Comparing());
        QVERIFY(clear->isEnabled());

        QStringList dashed;
        QStringList solid;
        for (QAbstractSeries *series : ChartOf(chart, "TuneChart")->series()) {
            auto *curve = qobject_cast<QLineSeries *>(series);
            if (curve)
                (curve->pen().style() == Qt::SolidLine ? solid : dashed) << curve->name();
        }
        QCOMPARE(dashed,
                 (QStringList {"灵敏度 (other.dat)", "低功率 (other.dat)", "高功率 (other.dat)"}));
        QCOMPARE(solid,
                 (QStringList {"灵敏度 (当前数据)", "低功率 (当前数据)", "高功率 (当前数据)"}));
        QCOMPARE(SeriesOf<QLineSeries>(chart, "LowPowerCompare")->at(0).y(), 50.0);
        QStringList bars;
        for (QBarSet *set : Squelch(chart)->barSets())
            bars << set->label() + (set->pen().style() == Qt::DashLine ? " dashed" : "");
        QCOMPARE(bars,
                 (QStringList {"高阀值 (当前数据)", "低阀值 (当前数据)",
                               "高阀值 (other.dat) dashed", "低阀值 (other.dat) dashed"}));
        QCOMPARE(Squelch(chart)->barSets().at(2)->at(0), 10.0);

        // The current file's name replaces "当前数据".
        chart.SetCurrentFileName("/radios/mine.dat");
        QCOMPARE(SeriesOf<QLineSeries>(chart, "Sensitivity")->name(),
                 QString::fromUtf8("灵敏度 (mine.dat)"));

        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(!chart.Comparing());
        QVERIFY(!clear->isEnabled());
        QCOMPARE(Parts(chart), before);
        QCOMPARE(SeriesOf<QLineSeries>(chart, "Sensitivity")->name(), QString::fromUtf8("灵敏度"));
    }

    // What the legend says of the curves, in each state a technician sees the chart in: named
    // from the first look (a chart opened right after a read), and solid against dashed with the
    // files' names while comparing.
    void LegendNamesEveryCurve()
    {
        const struct
        {
            const char *current; // the current data's file, or nothing
            const char *compared; // the compared file, or nothing
            QStringList solid;
            QStringList dashed;
        } cases[] = {
            {nullptr, nullptr, {"灵敏度", "低功率", "高功率"}, {}},
            {"/radios/mine.dat", nullptr, {"灵敏度", "低功率", "高功率"}, {}},
            {nullptr,
             "/radios/other.dat",
             {"灵敏度 (当前数据)", "低功率 (当前数据)", "高功率 (当前数据)"},
             {"灵敏度 (other.dat)", "低功率 (other.dat)", "高功率 (other.dat)"}},
            {"/radios/mine.dat",
             "/radios/other.dat",
             {"灵敏度 (mine.dat)", "低功率 (mine.dat)", "高功率 (mine.dat)"},
             {"灵敏度 (other.dat)", "低功率 (other.dat)", "高功率 (other.dat)"}},
        };
        for (const auto &c : cases) {
            const QString where
                = QString("current %1, compared %2")
                      .arg(QString::fromUtf8(c.current), QString::fromUtf8(c.compared));
            CalibrationChart chart(1);
            chart.Update(StartUpModel(1));
            if (c.current)
                chart.SetCurrentFileName(c.current);
            if (c.compared)
                chart.SetCompare(StartUpModel(1), c.compared);
            chart.show();
            QVERIFY(QTest::qWaitForWindowExposed(&chart));
            QStringList solid;
            QStringList dashed;
            // The legend draws a curve's entry as a piece of the curve, in the curve's pen (a
            // colour square would show no dashes).
            QLegend *legend = ChartOf(chart, "TuneChart")->legend();
            QCOMPARE(legend->markerShape(), QLegend::MarkerShapeFromSeries);
            for (QLegendMarker *marker : legend->markers()) {
                auto *curve = qobject_cast<QLineSeries *>(marker->series());
                if (!curve || !marker->isVisible())
                    continue;
                (curve->pen().style() == Qt::SolidLine ? solid : dashed) << marker->label();
            }
            QVERIFY2(solid == c.solid, qPrintable(where + ": " + solid.join('|')));
            QVERIFY2(dashed == c.dashed, qPrintable(where + ": " + dashed.join('|')));
        }
    }

    void CompareButtonAsksTheOwner()
    {
        CalibrationChart chart(0);
        QSignalSpy asked(&chart, &CalibrationChart::CompareRequested);
        auto *button = chart.findChild<QPushButton *>("CommandCompare");
        QCOMPARE(button->text(), QString::fromUtf8("对比文件(&C)..."));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(asked.count(), 1);
        QVERIFY(!chart.Comparing()); // nothing is compared until the owner has a file
    }

    void RenderDrawsWithoutAWindow()
    {
        const TuneChartModel model = StartUpModel(0);
        TuneChartModel other = model;
        other.HighPower.fill(120);
        const QSize size(640, 480);
        const QImage alone = RenderCalibrationChart(model, nullptr, "a.dat", {}, size);
        const QImage compared = RenderCalibrationChart(model, &other, "a.dat", "b.dat", size);
        QCOMPARE(alone.size(), size);
        QCOMPARE(compared.size(), size);
        QVERIFY(alone != compared);
        // Something was drawn: more than the background's colour.
        const QRgb background = alone.pixel(0, 0);
        int drawn = 0;
        for (int y = 0; y < size.height(); y += 4)
            for (int x = 0; x < size.width(); x += 4)
                drawn += alone.pixel(x, y) != background;
        QVERIFY(drawn > 100);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::CalibrationChartTest)
#include "calibration_chart_test.moc"
