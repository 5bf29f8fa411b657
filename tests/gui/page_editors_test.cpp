// The editors of the tune, channel and message pages, driven as a person does: a click on a cell,
// keys, Enter, and leaving; the binder places the boxes and lists, the core decides the rest.
#include "chart/calibration_chart.h"
#include "gui/gui_harness.h"

#include <QChartView>
#include <QFile>
#include <QKeyEvent>
#include <QLineSeries>
#include <QTemporaryDir>

namespace nx5rb::test {

namespace {

const QLineSeries *Curve(const CalibrationChart *chart, const char *name)
{
    const auto *view = chart->findChild<QChartView *>(QStringLiteral("TuneChart"));
    if (!view)
        return nullptr;
    for (QAbstractSeries *series : view->chart()->series())
        if (series->objectName() == QLatin1String(name))
            return qobject_cast<QLineSeries *>(series);
    return nullptr;
}

} // namespace

class PageEditorsTest : public QObject
{
    Q_OBJECT

private slots:
    void TunePageEditsTheWorkingCopyAndTheChartFollows()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, "TuneA"));
        TuneTablePage *page = w.TunePages[0];
        CellGrid *grid = page->TuneGrid;

        Click(page->CommandChart);
        QVERIFY(page->Chart() && page->Chart()->isVisible());
        page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        // Sensitivity is held to 127; Enter moves on along the row.
        ClickCell(grid, 1, 2);
        QVERIFY(BoxCovers(page->TuneBox, grid, 1, 2));
        Type("200");
        PressEnter();
        QCOMPARE(grid->CellText(1, 2), QString("127"));
        QVERIFY(BoxCovers(page->TuneBox, grid, 1, 3));
        QCOMPARE(w.State().TuneBuffer[1], std::uint8_t(127));
        QVERIFY(w.State().DataChanged);
        const QLineSeries *sensitivity = Curve(page->Chart(), "Sensitivity");
        QVERIFY(sensitivity);
        QCOMPARE(sensitivity->at(1).y(), 127.0); // the point moved with the committed cell

        // A shaded cell beyond the band's receive limit opens nothing.
        ClickCell(grid, 1, 12);
        QVERIFY(grid->IsShaded(1, 12));
        QVERIFY(!page->TuneBox->isVisible());

        // Squelch walks down the detection column; a modulation box clamps and moves on.
        ClickCell(page->SquelchGrid, 1, 1);
        Type("90");
        PressEnter();
        QVERIFY(BoxCovers(page->SquelchBox, page->SquelchGrid, 2, 1));
        QCOMPARE(w.State().TuneBuffer[mm::kTuneSquelch], std::uint8_t(90));
        QTest::mouseClick(page->TextResponse[0], Qt::LeftButton);
        QTRY_COMPARE(page->TextResponse[0]->selectedText(), page->TextResponse[0]->text());
        Type("40"); // two characters at most
        PressEnter();
        QCOMPARE(page->TextResponse[0]->text(), QString("31"));
        QVERIFY(page->TextResponse[1]->hasFocus());
        QCOMPARE(page->TextResponse[1]->selectedText(), page->TextResponse[1]->text());

        // Nothing reaches the image before it is applied.
        const mm::Address base = mm::kTuneBlock[0];
        QVERIFY(w.State().Image[base + 1] != 127);
        Click(w.CommandApp);
        QCOMPARE(w.State().Image[base + 1], std::uint8_t(127));
        QCOMPARE(w.State().Image[mm::kSettingsBlock[0]], std::uint8_t(31));
    }

    void ChannelPageCreatesAndEditsAChannel()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, "ChannelInfo"));
        ChannelPage *page = w.FrameChannelInfoPage;
        CellGrid *grid = page->ChannelGrid;
        const mm::Address record = mm::ChannelRecord(1);

        // A click on the tone of an empty row opens its receive frequency.
        ClickCell(grid, 1, 3);
        QVERIFY(BoxCovers(page->FrequencyBox, grid, 1, 1));
        Type("145.003");
        PressEnter();
        QVERIFY(!page->FrequencyBox->isVisible());
        QCOMPARE(RowTexts(grid, 1, 1, 7),
                 (QStringList {"145.00500", "", "无", "", "宽", "高", "添加"}));
        QCOMPARE(w.State().Image[record], std::uint8_t(0x14));
        QCOMPARE(w.State().Image[record + 2], std::uint8_t(0x05));

        // A list chosen by keyboard, left by a click elsewhere: only the bandwidth bit changes.
        ClickCell(grid, 1, 5);
        QComboBox *bandwidth = page->ColumnLists[2];
        QVERIFY(bandwidth->isVisible());
        QCOMPARE(bandwidth->currentText(), QString("宽"));
        QTest::keyClick(bandwidth, Qt::Key_Up);
        ClickCell(grid, 1, 1);
        QVERIFY(!bandwidth->isVisible());
        QCOMPARE(grid->CellText(1, 5), QString("窄"));
        QCOMPARE(w.State().Image[record + mm::kChFlags],
                 std::uint8_t(mm::kFlagScan | mm::kFlagNarrow));

        // Out of every band: the message, then the nearest edge below.
        shown.prompt.Shown.clear();
        QVERIFY(BoxCovers(page->FrequencyBox, grid, 1, 1));
        Type("300");
        PressEnter();
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(
            shown.prompt.Shown[0],
            (PromptMessage {"频率超出范围！", "错误", PromptButtons::Ok, PromptIcon::Exclamation}));
        QCOMPARE(grid->CellText(1, 1), QString("260.00000"));
        QVERIFY(w.State().UnsavedChanges()); // straight into the image, which no file holds
    }

    void ImportAsksAboutRefusedRowsThenFillsTheGrid()
    {
        QTemporaryDir folder;
        const QString plan = folder.filePath("plan.csv");
        QFile file(plan);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\r\n"
                   "0,145.50000,145.50000,67.0,67.0,宽,高,添加\r\n"
                   "1,600.00000,,无,,宽,高,添加\r\n");
        file.close();
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, "ChannelInfo"));
        ChannelPage *page = w.FrameChannelInfoPage;
        shown.files.Choose(plan.toStdString());
        shown.prompt.Answers = {PromptAnswer::Ok};
        Click(page->CommandImport);
        QCOMPARE(shown.files.Requests.back().kind, FileKind::ChannelPlan);
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(shown.prompt.Shown[0].text).contains("第 3 行"));
        QVERIFY(
            QString::fromStdString(shown.prompt.Shown[0].text).endsWith("跳过 1 行，导入其余？"));
        QCOMPARE(RowTexts(page->ChannelGrid, 1, 1, 3),
                 (QStringList {"145.50000", "145.50000", "67.0"}));
        QVERIFY(page->ChannelGrid->CellText(2, 1).isEmpty());
    }

    void MessageBoxesTakeOneCharacterEachAndMoveOn()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, "PowerOnMsg"));
        PowerOnPage *page = w.FrameOptionPage;
        QTest::mouseClick(page->TextPowerOnMsg[13], Qt::LeftButton);
        QTRY_VERIFY(page->TextPowerOnMsg[13]->hasSelectedText());
        Type("A"); // each key goes where the focus is when it is typed
        Type("B");
        QCOMPARE(page->TextPowerOnMsg[13]->text(), QString("A"));
        QCOMPARE(page->TextPowerOnMsg[14]->text(), QString("B"));
        QVERIFY(page->TextPowerOnMsg[15]->hasFocus());
        QCOMPARE(w.State().PowerOnMsg[13], std::uint8_t('A'));
        QCOMPARE(w.State().PowerOnMsg[14], std::uint8_t('B'));
        QVERIFY(w.State().DataChanged);
        // A second character in a box that holds one, unselected, is refused.
        QTest::mouseClick(page->TextPowerOnMsg[20], Qt::LeftButton);
        page->TextPowerOnMsg[20]->deselect();
        const QString before = page->TextPowerOnMsg[20]->text();
        Type("Z");
        QCOMPARE(page->TextPowerOnMsg[20]->text(), before);
    }

    // The grids from the keyboard alone: the current cell is where the keys act; a typed
    // character opens the cell with that character, F2 and Enter open it as it is, Enter commits
    // and walks as the rules say, Tab commits and moves right, Esc closes and keeps the value.
    void KeyboardEditsTheCurrentCell()
    {
        struct Key
        {
            Qt::Key key; // Qt::Key_unknown: type the text
            const char *text = "";
        };
        const struct
        {
            const char *what;
            const char *node; // none for the page shown at start
            std::function<CellGrid *(MainWindow &)> grid;
            CellRef start;
            std::vector<Key> keys;
            CellRef cell; // the cell checked afterwards
            const char *shown;
            std::optional<CellRef> boxAt; // where a box is open at the end
            CellRef current;
        } cases[] = {
            {"typed digit opens, Enter walks",
             nullptr,
             [](MainWindow &w) { return w.FrameFreqAreaPage->Grids[0]; },
             {1, 1},
             {{Qt::Key_unknown, "142"}, {Qt::Key_Return}},
             {1, 1},
             "142",
             CellRef {1, 2},
             {1, 2}},
            {"F2 then Esc keeps the value",
             nullptr,
             [](MainWindow &w) { return w.FrameFreqAreaPage->Grids[0]; },
             {1, 1},
             {{Qt::Key_F2}, {Qt::Key_unknown, "99"}, {Qt::Key_Escape}},
             {1, 1},
             "136",
             std::nullopt,
             {1, 1}},
            {"Tab commits and moves right",
             nullptr,
             [](MainWindow &w) { return w.FrameFreqAreaPage->Grids[0]; },
             {1, 1},
             {{Qt::Key_unknown, "150"}, {Qt::Key_Tab}},
             {1, 1},
             "150",
             std::nullopt,
             {1, 2}},
            {"arrows move, Enter opens",
             nullptr,
             [](MainWindow &w) { return w.FrameFreqAreaPage->Grids[0]; },
             {1, 1},
             {{Qt::Key_Down}, {Qt::Key_Return}, {Qt::Key_unknown, "141"}, {Qt::Key_Return}},
             {2, 1},
             "141",
             CellRef {2, 2},
             {2, 2}},
            {"tune: clamped, Tab moves on",
             "TuneA",
             [](MainWindow &w) { return w.TunePages[0]->TuneGrid; },
             {1, 2},
             {{Qt::Key_unknown, "200"}, {Qt::Key_Tab}},
             {1, 2},
             "127",
             std::nullopt,
             {1, 3}},
            {"channel: Enter closes and stays",
             "ChannelInfo",
             [](MainWindow &w) { return w.FrameChannelInfoPage->ChannelGrid; },
             {1, 1},
             {{Qt::Key_unknown, "145.5"}, {Qt::Key_Return}},
             {1, 1},
             "145.50000",
             std::nullopt,
             {1, 1}},
        };
        for (const auto &c : cases) {
            ShownWindow shown;
            QVERIFY(shown.Ready());
            MainWindow &w = shown.window;
            if (c.node)
                QVERIFY2(ClickNode(w, c.node), c.what);
            CellGrid *grid = c.grid(w);
            grid->setFocus(Qt::TabFocusReason);
            grid->setCurrentIndex(grid->model()->index(c.start.row - 1, c.start.col - 1));
            for (const Key &key : c.keys) {
                if (key.key == Qt::Key_unknown)
                    for (const QChar typed : QString(key.text))
                        Type(typed); // each key where the focus is when it is typed
                else
                    PressKey(key.key);
            }
            QVERIFY2(
                grid->CellText(c.cell.row, c.cell.col) == c.shown,
                qPrintable(
                    QString("%1: \"%2\"").arg(c.what, grid->CellText(c.cell.row, c.cell.col))));
            const QModelIndex current = grid->currentIndex();
            QVERIFY2(CellRef({current.row() + 1, current.column() + 1}) == c.current, c.what);
            QVERIFY2(grid->IsOpen() == c.boxAt.has_value(), c.what);
            if (c.boxAt)
                QVERIFY2(QApplication::focusWidget()->parentWidget() == grid->viewport()
                             && grid->CellRect(c.boxAt->row, c.boxAt->col)
                                    .contains(QApplication::focusWidget()->geometry().center()),
                         c.what);
            else
                QVERIFY2(grid->hasFocus(), c.what); // never a button after the grid
        }
    }

    // X11 gives the Delete key the text "\x7f" (offscreen key events carry none): it deletes the
    // character after the cursor, or the selection, in every kind of box.
    void DeleteKeyOfX11DeletesInEveryBox()
    {
        const struct
        {
            const char *what;
            const char *node; // the page's tree node; none for the page shown at start
            std::function<EditorBox *(MainWindow &)> open;
            const char *typed;
            Qt::Key before; // moves the cursor first, or Qt::Key_unknown to keep the selection
            const char *left;
        } cases[] = {
            {"limits grid box", nullptr,
             [](MainWindow &w) {
                 ClickCell(w.FrameFreqAreaPage->Grids[0], 1, 1);
                 return w.FrameFreqAreaPage->Editors[0];
             },
             "150", Qt::Key_Home, "50"},
            {"tune box", "TuneA",
             [](MainWindow &w) {
                 TuneTablePage *page = w.TunePages[0];
                 ClickCell(page->TuneGrid, 1, 2);
                 return page->TuneBox;
             },
             "99", Qt::Key_Home, "9"},
            {"channel box", "ChannelInfo",
             [](MainWindow &w) {
                 ClickCell(w.FrameChannelInfoPage->ChannelGrid, 1, 1);
                 return w.FrameChannelInfoPage->FrequencyBox;
             },
             "145.5", Qt::Key_Left, "145."},
            {"message box", "PowerOnMsg",
             [](MainWindow &w) {
                 EditorBox *box = w.FrameOptionPage->TextPowerOnMsg[13];
                 QTest::mouseClick(box, Qt::LeftButton);
                 // Its one character, selected as a click selects it.
                 const bool selected = QTest::qWaitFor([box] {
                     return !box->text().isEmpty() && box->selectedText() == box->text();
                 });
                 return selected ? box : nullptr;
             },
             "", Qt::Key_unknown, ""},
        };
        for (const auto &c : cases) {
            ShownWindow shown;
            QVERIFY(shown.Ready());
            MainWindow &w = shown.window;
            if (c.node)
                QVERIFY2(ClickNode(w, c.node), c.what);
            EditorBox *box = c.open(w);
            QVERIFY2(box && box->hasFocus(), c.what);
            Type(c.typed);
            if (c.before != Qt::Key_unknown)
                PressKey(c.before);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, "\x7f");
            QApplication::sendEvent(box, &press);
            QVERIFY2(box->text() == c.left,
                     qPrintable(QString("%1: \"%2\"").arg(c.what, box->text())));
        }
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::PageEditorsTest)
#include "page_editors_test.moc"
