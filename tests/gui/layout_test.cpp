// The window at 1024×768: every page's controls, the bottom row and the status line lie inside
// it; and on a 1024×768 screen the chart window opens with room for its title bar, its buttons
// showing.
#include "chart/calibration_chart.h"
#include "gui/gui_harness.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryFile>

namespace nx5rb::test {

namespace {

// A 1024×768 screen less a desktop's panel: the offscreen platform has no panels.
constexpr QSize kScreen(1024, 768 - 30);
// What a window's title bar takes on common desktops.
constexpr int kTitleBar = 30;

// Where `widget` lies, in `window`'s coordinates.
QRect PlaceIn(const QWidget *widget, const QWidget *window)
{
    return {widget->mapTo(window, QPoint(0, 0)), widget->size()};
}

// The visible controls of `window` that lie partly outside it, or outside the page they are on.
// What a grid places over its own cells scrolls with them and is left out.
QStringList Clipped(QWidget *window, QWidget *page)
{
    QStringList clipped;
    const QRect pageArea = PlaceIn(page, window);
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isWindow() || !widget->isVisibleTo(window))
            continue;
        bool scrolled = false;
        for (QWidget *parent = widget->parentWidget(); parent && parent != window;
             parent = parent->parentWidget())
            if (auto *area = qobject_cast<QAbstractScrollArea *>(parent->parentWidget()))
                scrolled = scrolled || parent == area->viewport();
        if (scrolled)
            continue;
        const QRect place = PlaceIn(widget, window);
        const bool onPage = page->isAncestorOf(widget);
        if (!window->rect().contains(place) || (onPage && !pageArea.contains(place)))
            clipped << widget->metaObject()->className() + QString(" ") + widget->objectName()
                    + QString(" %1,%2 %3×%4")
                          .arg(place.x())
                          .arg(place.y())
                          .arg(place.width())
                          .arg(place.height());
    }
    return clipped;
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void NothingIsClippedAt1024x768_data()
    {
        QTest::addColumn<QString>("node");
        for (const char *node :
             {"FreqAreaSet", "TuneA", "TuneB", "TuneC", "PowerOnMsg", "ChannelInfo"})
            QTest::newRow(node) << node;
    }

    void NothingIsClippedAt1024x768()
    {
        QFETCH(QString, node);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        w.resize(1024, 768);
        QCOMPARE(w.size(), QSize(1024, 768)); // no minimum size beyond it
        QVERIFY(ClickNode(w, node));
        QApplication::processEvents();
        QCOMPARE(Clipped(&w, w.CurrentPage()), QStringList());
        // The status line's texts show whole.
        for (QLabel *label : w.statusBar()->findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }

    void ChartWindowFitsTheScreen()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        TuneTablePage *page = shown.window.TunePages[1];
        page->ShowChart();
        CalibrationChart *chart = page->Chart();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        const QRect screen = chart->screen()->availableGeometry();
        QCOMPARE(screen.size(), kScreen);
        QVERIFY2(chart->width() <= screen.width() && chart->height() + kTitleBar <= screen.height(),
                 qPrintable(QString("%1×%2").arg(chart->width()).arg(chart->height())));
        const QList<QPushButton *> buttons = chart->findChildren<QPushButton *>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton *button : buttons) {
            QVERIFY2(button->isVisible(), qPrintable(button->text()));
            QVERIFY2(chart->rect().contains(PlaceIn(button, chart)), qPrintable(button->text()));
        }
    }
};

} // namespace nx5rb::test

int main(int argc, char **argv)
{
    // The small screen for the offscreen platform.
    QTemporaryFile screens;
    if (!screens.open())
        return 1;
    using nx5rb::test::kScreen;
    screens.write(QString(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": %1,)"
                          R"( "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                      .arg(kScreen.width())
                      .arg(kScreen.height())
                      .toUtf8());
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    nx5rb::test::LayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "layout_test.moc"
