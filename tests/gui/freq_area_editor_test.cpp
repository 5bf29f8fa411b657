// The floating edit boxes of the three frequency-area grids, clicked, typed into, walked with
// Enter and left by clicking elsewhere.
#include "gui/gui_harness.h"

#include <QClipboard>
#include <QInputMethodEvent>

namespace nx5rb::test {

namespace {

// The working-copy field a cell of an area grid edits.
std::int16_t Stored(const FreqArea &area, int row, int col)
{
    if (row == 1)
        return col == 1 ? area.RxLow : area.RxHigh;
    if (row == 2)
        return col == 1 ? area.TxLow : area.TxHigh;
    return area.TuneFreq;
}

} // namespace

class FreqAreaEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void EnterWalksTheFiveCellsThenCloses()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        CellGrid *grid = w.FrameFreqAreaPage->Grids[0];
        EditorBox *box = w.FrameFreqAreaPage->Editors[0];
        const RadioImage before = w.State().Image;

        ClickCell(grid, 1, 1);
        QVERIFY(BoxCovers(box, grid, 1, 1));
        QCOMPARE(box->text(), QString("136"));
        QCOMPARE(box->selectedText(), QString("136")); // typing replaces the old value

        struct Step
        {
            int row;
            int col;
            const char *typed;
        };
        const Step walk[]
            = {{1, 1, "140"}, {1, 2, "170"}, {2, 1, "141"}, {2, 2, "171"}, {3, 1, "150"}};
        for (const Step &step : walk) {
            const QString where = QString("cell (%1, %2)").arg(step.row).arg(step.col);
            QVERIFY2(BoxCovers(box, grid, step.row, step.col), qPrintable(where));
            QVERIFY2(box->hasFocus(), qPrintable(where));
            QCOMPARE(box->text(), grid->CellText(step.row, step.col));
            QCOMPARE(box->selectedText(), box->text());
            Type(step.typed);
            PressEnter();
            QCOMPARE(grid->CellText(step.row, step.col), QString(step.typed));
        }
        // The fifth Enter commits the tuning frequency and closes the box.
        QVERIFY(!box->isVisible());
        QCOMPARE(w.State().FreqAreas[0], (FreqArea {140, 170, 141, 171, 150}));
        QVERIFY(w.State().DataChanged);
        // The edits wait in the working copy until they are applied.
        QVERIFY(w.State().Image == before);
    }

    void TypedValuesAreHeldToTheBand_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("changed");
        QTest::newRow("A below the band") << 0 << 1 << 1 << "99"
                                          << "130" << true;
        QTest::newRow("A above the band, already stored") << 0 << 1 << 2 << "999"
                                                          << "175" << false;
        QTest::newRow("A tuning above the band") << 0 << 3 << 1 << "999"
                                                 << "175" << true;
        QTest::newRow("A the stored value") << 0 << 1 << 1 << "136"
                                            << "136" << false;
        QTest::newRow("A inside") << 0 << 2 << 2 << "160"
                                  << "160" << true;
        QTest::newRow("B below the band") << 1 << 1 << 2 << "300"
                                          << "400" << true;
        QTest::newRow("B above the band") << 1 << 1 << 1 << "600"
                                          << "520" << true;
        QTest::newRow("C below the band") << 2 << 2 << 2 << "150"
                                          << "200" << true;
        QTest::newRow("C just above the band") << 2 << 3 << 1 << "261"
                                               << "260" << true;
        QTest::newRow("C inside") << 2 << 1 << 1 << "233"
                                  << "233" << true;
    }
    void TypedValuesAreHeldToTheBand()
    {
        QFETCH(int, band);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, changed);
        ShownWindow window;
        QVERIFY(window.Ready());
        MainWindow &w = window.window;
        CellGrid *grid = w.FrameFreqAreaPage->Grids[std::size_t(band)];
        EditorBox *box = w.FrameFreqAreaPage->Editors[std::size_t(band)];

        ClickCell(grid, row, col);
        QVERIFY(BoxCovers(box, grid, row, col));
        Type(typed);
        QCOMPARE(box->text(), typed);
        PressEnter();

        QCOMPARE(grid->CellText(row, col), shown);
        QCOMPARE(int(Stored(w.State().FreqAreas[std::size_t(band)], row, col)), shown.toInt());
        QCOMPARE(w.State().DataChanged, changed);
        // Enter moves on along the row, then down; the tuning frequency closes the box.
        if (row == 3)
            QVERIFY(!box->isVisible());
        else
            QVERIFY(BoxCovers(box, grid, col == 1 ? row : row + 1, col == 1 ? 2 : 1));
    }

    void EmptiedCellGetsItsValueBackOnFocusLoss()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        CellGrid *gridB = w.FrameFreqAreaPage->Grids[1];
        CellGrid *gridC = w.FrameFreqAreaPage->Grids[2];
        EditorBox *boxB = w.FrameFreqAreaPage->Editors[1];

        ClickCell(gridB, 2, 2);
        QVERIFY(BoxCovers(boxB, gridB, 2, 2));
        PressKey(Qt::Key_Backspace);
        QCOMPARE(boxB->text(), QString());

        ClickCell(gridC, 1, 1); // the focus leaves the box
        QVERIFY(!boxB->isVisible());
        QCOMPARE(gridB->CellText(2, 2), QString("470"));
        QCOMPARE(w.State().FreqAreas[1].TxHigh, std::int16_t(470));
        QVERIFY(!w.State().DataChanged);
        QVERIFY(BoxCovers(w.FrameFreqAreaPage->Editors[2], gridC, 1, 1));
    }

    void FocusLossCommitsWhatWasTyped()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        CellGrid *gridA = w.FrameFreqAreaPage->Grids[0];
        CellGrid *gridB = w.FrameFreqAreaPage->Grids[1];
        EditorBox *boxA = w.FrameFreqAreaPage->Editors[0];

        ClickCell(gridA, 2, 1);
        Type("99");
        ClickCell(gridB, 1, 2);

        QVERIFY(!boxA->isVisible());
        QCOMPARE(gridA->CellText(2, 1), QString("130")); // clamped on the way out too
        QCOMPARE(w.State().FreqAreas[0].TxLow, std::int16_t(130));
        QVERIFY(w.State().DataChanged);
        QVERIFY(BoxCovers(w.FrameFreqAreaPage->Editors[1], gridB, 1, 2));
        QCOMPARE(w.FrameFreqAreaPage->Editors[1]->text(), QString("470"));
    }

    void KeyFilterTakesThreeDigitsOnly()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        CellGrid *grid = w.FrameFreqAreaPage->Grids[0];
        EditorBox *box = w.FrameFreqAreaPage->Editors[0];

        ClickCell(grid, 2, 2);
        Type("1a2B.3-");
        QCOMPARE(box->text(), QString("123"));
        Type("4"); // a fourth digit
        QCOMPARE(box->text(), QString("123"));
        PressKey(Qt::Key_Backspace);
        Type("5");
        QCOMPARE(box->text(), QString("125"));
        QVERIFY(!w.State().DataChanged); // nothing is stored while typing
        PressEnter();
        QCOMPARE(grid->CellText(2, 2), QString("130"));
        QVERIFY(w.State().DataChanged);
    }

    // Text that does not come from typed keys (an input method's commit, a paste) passes the same
    // filter: full-width digits and letters never turn into a limit.
    void TextFromInputMethodsAndPastesIsFiltered_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::newRow("input method, full width") << "ime"
                                                  << "１５０abcd" << 136;
        QTest::newRow("input method, digits") << "ime"
                                              << "150" << 150;
        QTest::newRow("paste, full width") << "paste"
                                           << "１５０abcd" << 136;
        QTest::newRow("paste, mixed") << "paste"
                                      << "1x5y0z9" << 150;
    }
    void TextFromInputMethodsAndPastesIsFiltered()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(int, stored);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        CellGrid *grid = w.FrameFreqAreaPage->Grids[0];
        EditorBox *box = w.FrameFreqAreaPage->Editors[0];
        ClickCell(grid, 1, 1);
        QVERIFY(BoxCovers(box, grid, 1, 1));
        if (how == "ime") {
            QInputMethodEvent event;
            event.setCommitString(text);
            QApplication::sendEvent(box, &event);
        } else {
            QGuiApplication::clipboard()->setText(text);
            QTest::keySequence(box, QKeySequence::Paste);
        }
        PressEnter();
        QCOMPARE(int(w.State().FreqAreas[0].RxLow), stored);
        QCOMPARE(grid->CellText(1, 1), QString::number(stored));
    }

    void DashCellsOpenNoBox()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        for (std::size_t band = 0; band < 3; ++band) {
            CellGrid *grid = w.FrameFreqAreaPage->Grids[band];
            EditorBox *box = w.FrameFreqAreaPage->Editors[band];
            for (int row : {3, 4}) {
                ClickCell(grid, 1, 1); // an open box first: the click must close it
                QVERIFY(box->isVisible());
                ClickCell(grid, row, 2);
                QVERIFY2(!box->isVisible(),
                         qPrintable(QString("band %1 row %2").arg(band).arg(row)));
                QVERIFY(!box->hasFocus());
                QCOMPARE(grid->CellText(row, 2), QString("-"));
            }
        }
        QVERIFY(!w.State().DataChanged);
    }

    // The captions are the grid's headers: a click on one opens nothing and stores nothing, even
    // with a box open elsewhere.
    void CaptionCellsOpenNoEditor()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        CellGrid *grid = shown.window.FrameFreqAreaPage->Grids[1];
        EditorBox *box = shown.window.FrameFreqAreaPage->Editors[1];
        const CellRef captions[] = {{0, 0}, {0, 2}, {2, 0}};
        for (const CellRef caption : captions) {
            ClickCell(grid, 1, 1);
            QVERIFY(box->isVisible());
            ClickCaption(grid, caption.row, caption.col);
            QVERIFY2(!box->isVisible(),
                     qPrintable(QString("caption (%1, %2)").arg(caption.row).arg(caption.col)));
        }
        QVERIFY(!shown.window.State().DataChanged);
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::FreqAreaEditorTest)
#include "freq_area_editor_test.moc"
