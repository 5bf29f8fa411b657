// Undo and redo as the window's user meets them: each kind of committed change is one named step
// that puts the document back exactly and repaints the page; a read or an open starts a new
// history; a running transfer cannot be undone under.
#include "gui/gui_harness.h"
#include "gui/undo_history.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

namespace nx5rb::test {

namespace {

// A plan of `count` channels from channel 0 on, each a receive frequency alone.
QString WritePlan(const QTemporaryDir &folder, int count)
{
    const QString path = folder.filePath("plan.csv");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\r\n");
    for (int channel = 0; channel < count; ++channel)
        file.write(QString("%1,%2,,无,,宽,高,添加\r\n")
                       .arg(channel)
                       .arg(145.0 + 0.025 * channel, 0, 'f', 5)
                       .toUtf8());
    return path;
}

// A committed cell: a value typed into `grid` at (row, col) and Enter.
void TypeInto(CellGrid *grid, int row, int col, const QString &text)
{
    ClickCell(grid, row, col);
    Type(text);
    PressEnter();
}

} // namespace

class UndoTest : public QObject
{
    Q_OBJECT

private slots:
    void EachKindOfChangeIsOneNamedStepUndoneExactly()
    {
        QTemporaryDir folder;
        const QString plan = WritePlan(folder, 24);
        QVERIFY(!plan.isEmpty());
        struct Case
        {
            const char *kind;
            QString node; // the page the change is made on
            std::function<void(ShownWindow &)> before; // edits made first, their own step
            std::function<void(ShownWindow &)> change;
            QString name;
            std::function<QString(MainWindow &)> shown; // what the page shows of the change
        };
        const auto tuneCell
            = [](MainWindow &w) { return w.TunePages[0]->TuneGrid->CellText(1, 3); };
        const auto channel5
            = [](MainWindow &w) { return w.FrameChannelInfoPage->ChannelGrid->CellText(6, 1); };
        const std::vector<Case> cases = {
            {"cell", "TuneA", nullptr,
             [](ShownWindow &s) { TypeInto(s.window.TunePages[0]->TuneGrid, 1, 3, "50"); },
             "频段-A 灵敏度 点 3", tuneCell},
            {"list choice", "FreqAreaSet", nullptr,
             [](ShownWindow &s) {
                 ChooseByKey(s.window.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home);
             },
             "工作频段",
             [](MainWindow &w) { return w.FrameFreqAreaPage->ComboSelFreqArea->currentText(); }},
            {"channel creation", "ChannelInfo", nullptr,
             [](ShownWindow &s) {
                 TypeInto(s.window.FrameChannelInfoPage->ChannelGrid, 6, 1, "145.003");
             },
             "信道 5 接收频率", channel5},
            {"plan import", "ChannelInfo", nullptr,
             [&plan](ShownWindow &s) {
                 s.files.Choose(plan.toStdString());
                 Click(s.window.FrameChannelInfoPage->CommandImport);
             },
             "导入信道表 (24 个信道)", channel5},
            {"应用", "TuneA",
             [](ShownWindow &s) { TypeInto(s.window.TunePages[0]->TuneGrid, 1, 3, "50"); },
             [](ShownWindow &s) { Click(s.window.CommandApp); }, "应用",
             [](MainWindow &w) { return QString::number(w.State().Image[mm::kTuneBlock[0] + 2]); }},
            {"否 of the navigation question", "TuneA",
             [](ShownWindow &s) { TypeInto(s.window.TunePages[0]->TuneGrid, 1, 3, "50"); },
             [](ShownWindow &s) {
                 s.prompt.Answers = {PromptAnswer::No};
                 QVERIFY(ClickNode(s.window, "ChannelInfo"));
             },
             "放弃修改", tuneCell},
        };
        for (const Case &c : cases) {
            ShownWindow shown;
            QVERIFY(shown.Ready());
            MainWindow &w = shown.window;
            UndoHistory &history = w.History();
            QVERIFY2(ClickNode(w, c.node), c.kind);
            if (c.before)
                c.before(shown);
            QTRY_COMPARE(history.Stack().count(), c.before ? 1 : 0);
            const DocumentSnapshot before = w.State().Snapshot();
            const QString shownBefore = c.shown(w);

            c.change(shown);
            QTRY_COMPARE(history.Stack().count(), c.before ? 2 : 1);
            const DocumentSnapshot after = w.State().Snapshot();
            const QString shownAfter = c.shown(w);
            QVERIFY2(after != before && shownAfter != shownBefore, c.kind);
            QCOMPARE(history.UndoAction->text(), "撤销 " + c.name);

            history.UndoAction->trigger();
            QVERIFY2(w.State().Snapshot() == before, c.kind);
            QCOMPARE(c.shown(w), shownBefore);
            QCOMPARE(history.RedoAction->text(), "重做 " + c.name);
            history.RedoAction->trigger();
            QVERIFY2(w.State().Snapshot() == after, c.kind);
            QCOMPARE(c.shown(w), shownAfter);
        }
    }

    void KeysAndTheGridsMenuReachTheHistory()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, "TuneA"));
        CellGrid *grid = w.TunePages[0]->TuneGrid;
        const QString old = grid->CellText(1, 3);
        const QString next = grid->CellText(1, 4);
        TypeInto(grid, 1, 3, "50");
        QTRY_COMPARE(w.History().Stack().count(), 1);
        QVERIFY(grid->actions().contains(w.History().UndoAction));
        // Enter walked on: the keys reach the history from the box now open on the next cell.
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(grid->CellText(1, 3), old);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(grid->CellText(1, 3), QString("50"));
        // A value typed and not committed yet is what Ctrl+Z takes back first.
        TypeInto(grid, 1, 3, "60");
        QTRY_COMPARE(w.History().Stack().count(), 2);
        Type("7");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(grid->CellText(1, 3), QString("60"));
        QCOMPARE(grid->CellText(1, 4), next);
        press(Qt::Key_Z, Qt::ControlModifier);
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(grid->CellText(1, 3), QString("60"));
    }

    void AReadOrAnOpenStartsANewHistoryAndATransferCannotBeUndoneUnder()
    {
        QTemporaryDir folder;
        const std::string saved = folder.filePath("saved.dat").toStdString();
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        UndoHistory &history = w.History();
        QVERIFY(ClickNode(w, "TuneA"));
        CellGrid *grid = w.TunePages[0]->TuneGrid;

        TypeInto(grid, 1, 3, "50");
        QTRY_COMPARE(history.Stack().count(), 1);
        w.RunCommand(TransferCommand::ReadA);
        QVERIFY(w.Tool().Busy());
        QVERIFY(!history.UndoAction->isEnabled());
        history.Undo();
        QCOMPARE(history.Stack().index(), 1);
        QVERIFY(WaitForLinkIdle(w));
        QCOMPARE(history.Stack().count(), 0);
        QVERIFY(!history.UndoAction->isEnabled());

        shown.files.Choose(saved);
        w.CommandSave_Click();
        TypeInto(grid, 1, 3, "51");
        QTRY_COMPARE(history.Stack().count(), 1);
        shown.files.Choose(saved);
        // 覆盖当前数据？ is answered OK.
        w.CommandOpen_Click();
        QCOMPARE(history.Stack().count(), 0);
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::UndoTest)
#include "undo_test.moc"
