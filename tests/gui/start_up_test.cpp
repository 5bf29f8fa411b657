// What a person sees right after the window opens: the caption, the tree, one page, and every
// page filled from the default image.
#include "gui/gui_harness.h"

#include <array>
#include <memory>

namespace nx5rb::test {

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        shown_ = std::make_unique<ShownWindow>();
        QVERIFY(shown_->Ready());
    }
    void cleanupTestCase() { shown_.reset(); }

    void CaptionIsTheApplicationTitle()
    {
        QCOMPARE(window().windowTitle(), QString("NX5RB调谐软件"));
    }

    void TreeHoldsItsNodesInOrderWithTheRootExpanded()
    {
        struct Expected
        {
            const char *text;
            const char *key;
            const char *parentKey;
        };
        const std::array<Expected, 14> expected = {{
            {"高级", "Advanced", ""},
            {"端口选择", "PortSel", "Advanced"},
            {"频段设置", "FreqAreaSet", "Advanced"},
            {"调试", "Debug", "Advanced"},
            {"频段-A", "DebugA", "Debug"},
            {"灵敏度/功率", "TuneA", "DebugA"},
            {"频段-B", "DebugB", "Debug"},
            {"灵敏度/功率", "TuneB", "DebugB"},
            {"频段-C", "DebugC", "Debug"},
            {"灵敏度/功率", "TuneC", "DebugC"},
            {"MCU版本", "PowerOnMsg", "Advanced"},
            {"信道设置", "ChannelInfo", "Advanced"},
            {"设置", "Settings", "Advanced"},
            {"关于", "About", "Advanced"},
        }};
        QTreeWidget *tree = window().PageTree;
        QCOMPARE(tree->topLevelItemCount(), 1);
        QVERIFY(tree->topLevelItem(0)->isExpanded());

        std::size_t index = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index) {
            QVERIFY2(index < expected.size(), "more nodes than the tree should hold");
            const QTreeWidgetItem *node = *it;
            const Expected &want = expected[index];
            QCOMPARE(node->text(0), QString(want.text));
            QCOMPARE(node->data(0, Qt::UserRole).toString(), QString(want.key));
            const QString parentKey
                = node->parent() ? node->parent()->data(0, Qt::UserRole).toString() : QString();
            QCOMPARE(parentKey, QString(want.parentKey));
        }
        QCOMPARE(index, expected.size());
        // The root's children can be seen without opening anything.
        for (int child = 0; child < tree->topLevelItem(0)->childCount(); ++child)
            QVERIFY(tree->visualItemRect(tree->topLevelItem(0)->child(child)).isValid());
    }

    void OnlyTheFrequencyAreaPageIsVisible()
    {
        MainWindow &w = window();
        QCOMPARE(w.CurrentPage(), static_cast<QWidget *>(w.FrameFreqAreaPage));
        QVERIFY(w.FrameFreqAreaPage->isVisible());
        for (TuneTablePage *page : w.TunePages)
            QVERIFY(!page->isVisible());
        QVERIFY(!w.FrameOptionPage->isVisible());
        QVERIFY(!w.FrameChannelInfoPage->isVisible());
        QVERIFY(!w.ProgressFrame->isVisible());
        QVERIFY(!w.State().DataChanged);
    }

    void AreaGridsShowTheDefaultLimits_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("values"); // RxLow, RxHigh, TxLow, TxHigh, TuneFreq
        QTest::newRow("A") << 0 << "频段-A(130-175)"
                           << QStringList {"136", "175", "136", "175", "134"};
        QTest::newRow("B") << 1 << "频段-B(400-520)"
                           << QStringList {"400", "470", "400", "470", "400"};
        QTest::newRow("C") << 2 << "频段-C(200-260)"
                           << QStringList {"200", "260", "200", "260", "200"};
    }
    void AreaGridsShowTheDefaultLimits()
    {
        QFETCH(int, band);
        QFETCH(QString, title);
        QFETCH(QStringList, values);
        const CellGrid *grid = window().FrameFreqAreaPage->Grids[std::size_t(band)];
        // The captions are the headers; the cells are the values under them.
        QCOMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(grid->model()->columnCount(), 2);
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QString("上限(MHz)"));
        QCOMPARE(grid->model()->headerData(0, Qt::Vertical).toString(), QString("接收频率"));
        QCOMPARE(grid->CellText(0, 0), title);
        QCOMPARE(RowTexts(grid, 0, 1, 2), (QStringList {"下限(MHz)", "上限(MHz)"}));
        QCOMPARE(RowTexts(grid, 1, 0, 2), (QStringList {"接收频率", values[0], values[1]}));
        QCOMPARE(RowTexts(grid, 2, 0, 2), (QStringList {"发射频率", values[2], values[3]}));
        QCOMPARE(RowTexts(grid, 3, 0, 2), (QStringList {"调谐频率(调试)", values[4], "-"}));
        QCOMPARE(RowTexts(grid, 4, 0, 2), (QStringList {"发射频率(调试)", "", "-"}));
        QVERIFY(!window().FrameFreqAreaPage->Editors[std::size_t(band)]->isVisible());
    }

    void ListsShowTheDefaultCombinationAndChannels()
    {
        const FreqAreaPage *page = window().FrameFreqAreaPage;
        QCOMPARE(page->ComboSelFreqArea->count(), 7);
        QCOMPARE(page->ComboSelFreqArea->currentIndex(), 6);
        QCOMPARE(page->ComboSelFreqArea->currentText(), QString("频段-A + 频段-B + 频段-C"));
        const QStringList channels = {"VHF", "UHF", "VHF"};
        for (int band = 0; band < 3; ++band)
            QCOMPARE(page->ComboChannelSel[std::size_t(band)]->currentText(), channels[band]);
    }

    void TunePagesShowTheDefaultTables_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("firstPoint");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("edge"); // first shaded column of rows 1..3
        QTest::addColumn<QStringList>("sensitivity");
        QTest::addColumn<QStringList>("lowPower");
        QTest::addColumn<QStringList>("highPower");
        auto run = [](std::initializer_list<std::pair<int, const char *>> parts) {
            QStringList cells;
            for (const auto &[count, text] : parts)
                for (int i = 0; i < count; ++i)
                    cells << text;
            return cells;
        };
        QTest::newRow("A") << 0 << 134 << 5 << 10 << run({{16, "18"}})
                           << run({{9, "130"}, {7, "80"}}) << run({{16, "200"}});
        QTest::newRow("B") << 1 << 400 << 8 << 10 << run({{5, "17"}, {1, "18"}, {10, "19"}})
                           << run({{16, "130"}}) << run({{11, "200"}, {5, "210"}});
        QTest::newRow("C") << 2 << 200 << 5 << 14 << run({{16, "18"}}) << run({{16, "130"}})
                           << run({{16, "200"}});
    }
    void TunePagesShowTheDefaultTables()
    {
        QFETCH(int, band);
        QFETCH(int, firstPoint);
        QFETCH(int, step);
        QFETCH(int, edge);
        QFETCH(QStringList, sensitivity);
        QFETCH(QStringList, lowPower);
        QFETCH(QStringList, highPower);
        const TuneTablePage *page = window().TunePages[std::size_t(band)];
        const CellGrid *tune = page->TuneGrid;

        QStringList points;
        for (int point = 0; point < 16; ++point)
            points << QString::number(firstPoint + point * step);
        points.last().prepend("≥");
        QCOMPARE(RowTexts(tune, 0, 1, 16), points);
        QCOMPARE(RowTexts(tune, 1, 1, 16), sensitivity);
        QCOMPARE(RowTexts(tune, 2, 1, 16), lowPower);
        QCOMPARE(RowTexts(tune, 3, 1, 16), highPower);
        QCOMPARE(RowTexts(tune, 0, 0, 0) + RowTexts(tune, 1, 0, 0) + RowTexts(tune, 2, 0, 0)
                     + RowTexts(tune, 3, 0, 0),
                 (QStringList {"频率", "灵敏度", "低功率", "高功率"}));

        // Points above the band's upper limits are shaded; the ones inside are not.
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 16; ++col)
                QVERIFY2(tune->IsShaded(row, col) == (col >= edge),
                         qPrintable(QString("row %1 column %2").arg(row).arg(col)));

        const CellGrid *squelch = page->SquelchGrid;
        QCOMPARE(RowTexts(squelch, 1, 1, 8),
                 (QStringList {"83", "63", "32", "110", "81", "61", "32", "40"}));
        QCOMPARE(RowTexts(squelch, 2, 1, 8),
                 (QStringList {"82", "62", "30", "103", "80", "59", "30", "37"}));
        QCOMPARE(RowTexts(squelch, 0, 1, 8),
                 (QStringList {"检测1(宽)", "检测2(宽)", "检测3(宽)", "检测4(宽)", "检测1(窄)",
                               "检测2(窄)", "检测3(窄)", "检测4(窄)"}));
    }

    void MessageBoxesShowTheStartUpLines()
    {
        const PowerOnPage *page = window().FrameOptionPage;
        QCOMPARE(MessageLine(page, 1), QString("VER 1.02014/05"));
        for (int line = 0; line < 4; ++line) {
            const QString text = MessageLine(page, line);
            QCOMPARE(text.size(), 14);
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString("line %1").arg(line)));
        }
        for (const EditorBox *box : page->TextPowerOnMsg)
            QCOMPARE(box->text().size(), 1);
    }

    void ChannelGridNumbersItsRowsAndIsOtherwiseEmpty()
    {
        const CellGrid *grid = window().FrameChannelInfoPage->ChannelGrid;
        QCOMPARE(grid->model()->rowCount(), 128);
        QCOMPARE(grid->model()->columnCount(), 7);
        QCOMPARE(RowTexts(grid, 0, 0, 7),
                 (QStringList {"信道号", "接收频率", "发射频率", "接收亚音", "发射亚音", "宽窄带",
                               "发射功率", "扫描添加/删除"}));
        for (int row = 1; row <= 128; ++row) {
            QCOMPARE(grid->CellText(row, 0), QString::number(row - 1));
            for (int col = 1; col < 8; ++col)
                QVERIFY2(grid->CellText(row, col).isEmpty(),
                         qPrintable(QString("row %1 column %2").arg(row).arg(col)));
        }
    }

private:
    MainWindow &window() { return shown_->window; }

    std::unique_ptr<ShownWindow> shown_;
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::StartUpTest)
#include "start_up_test.moc"
