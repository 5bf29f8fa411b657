// The status line as the window's user reads it: how the last transfer ended (through the real
// session and the virtual radio), where the image came from, the mark of changes not in a file,
// and the note beside the title of a page that still shows start-up defaults.
#include "gui/gui_harness.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace nx5rb::test {
// What goes wrong on the radio's side during a transfer.
enum class Fault { None, RefuseWrite13, StallRead, CorruptWrite };
} // namespace nx5rb::test

Q_DECLARE_METATYPE(nx5rb::test::Fault)

namespace nx5rb::test {

namespace {

// The pages whose title carries the note, in the tree's order.
QList<QGroupBox *> Pages(MainWindow &w)
{
    return {w.FrameFreqAreaPage, w.TunePages[0],    w.TunePages[1],
            w.TunePages[2],      w.FrameOptionPage, w.FrameChannelInfoPage};
}

// For every page: its title says it still shows start-up defaults.
QList<bool> NotesShown(MainWindow &w)
{
    QList<bool> notes;
    for (QGroupBox *page : Pages(w))
        notes << page->title().contains(QString::fromUtf8("（启动默认值，未从电台读取）"));
    return notes;
}

} // namespace

class StatusLineTest : public QObject
{
    Q_OBJECT

private slots:
    void SaysHowTheLastTransferEnded_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<Fault>("fault");
        // %1 stands for the blocks the write or read set out to move.
        QTest::addColumn<QString>("pattern");
        const auto row = [](const char *name, TransferCommand command, bool verify, Fault fault,
                            const char *pattern) {
            QTest::newRow(name) << int(command) << verify << fault << QString::fromUtf8(pattern);
        };
        const char *amount = R"( \(%1 块, \d+\.\d 秒\)$)";
        row("read", TransferCommand::ReadA, false, Fault::None,
            (std::string("^读取完成") + amount).c_str());
        row("write", TransferCommand::WriteA, false, Fault::None,
            (std::string("^写入完成") + amount).c_str());
        row("write, read back", TransferCommand::WriteA, true, Fault::None,
            (std::string("^写入完成，已校验") + amount).c_str());
        row("write, read back differs", TransferCommand::WriteA, true, Fault::CorruptWrite,
            (std::string("^写入校验失败") + amount).c_str());
        row("write stopped part-way", TransferCommand::WriteChannelInfo, false,
            Fault::RefuseWrite13, "^已中止：12/%1 块已写入$");
        row("read stopped", TransferCommand::ReadA, false, Fault::StallRead, "^读取失败$");
    }

    void SaysHowTheLastTransferEnded()
    {
        QFETCH(int, command);
        QFETCH(bool, verify);
        QFETCH(Fault, fault);
        QFETCH(QString, pattern);
        ToolSettings settings = PlainSettings();
        settings.verifyWrites = verify;
        ShownWindow shown(VirtualRadioPort(), settings);
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        RadioFaults &faults = w.Port().Virtual().Radio().Faults;
        switch (fault) {
        case Fault::None:
            break;
        case Fault::RefuseWrite13:
            faults.NakOnWrite = 13;
            break;
        case Fault::StallRead:
            faults.StallAfter = 2;
            break;
        case Fault::CorruptWrite:
            faults.CorruptWrite = 2;
            break;
        }
        // OK to the command's question, Cancel to the question after a fault.
        shown.prompt.Answers = {PromptAnswer::Ok, PromptAnswer::Cancel};

        w.RunCommand(TransferCommand(command));
        QVERIFY(WaitForLinkIdle(w));
        const int planned = w.Tool().LastResult().planned;
        const QRegularExpression expected(pattern.contains("%1") ? pattern.arg(planned) : pattern);
        QVERIFY2(expected.match(w.LabelTransfer->text()).hasMatch(),
                 qPrintable(w.LabelTransfer->text() + " !~ " + expected.pattern()));
        // Only a failure says so in a message box as well.
        QCOMPARE(shown.prompt.Shown.size() > 1, fault != Fault::None);

        // A command cancelled at its question leaves the outcome of the last one standing.
        const QString last = w.LabelTransfer->text();
        shown.prompt.Answers = {PromptAnswer::Cancel};
        w.RunCommand(TransferCommand::WriteA);
        QCOMPARE(w.LabelTransfer->text(), last);
    }

    // Where the image came from, and which pages still show start-up defaults, through a save,
    // a read of one band and an open.
    void SaysWhereTheImageCameFrom()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const QList<bool> all = {true, true, true, true, true, true};
        QCOMPARE(w.LabelOrigin->text(), QString("来源：启动默认值"));
        QCOMPARE(NotesShown(w), all);

        // Saved defaults are still defaults.
        shown.files.Choose(folder.filePath("defaults.dat").toStdString());
        Click(w.CommandSave);
        QCOMPARE(w.LabelOrigin->text(), QString("来源：defaults.dat"));
        QCOMPARE(NotesShown(w), all);

        // Every read brings the band information, so the frequency areas come from the radio too.
        w.RunCommand(TransferCommand::ReadB);
        QVERIFY(WaitForLinkIdle(w));
        QCOMPARE(w.LabelOrigin->text(), QString("来源：电台"));
        QCOMPARE(NotesShown(w), (QList<bool> {false, true, false, true, true, true}));

        shown.files.Choose(folder.filePath("defaults.dat").toStdString());
        Click(w.CommandOpen);
        QCOMPARE(w.LabelOrigin->text(), QString("来源：defaults.dat"));
        QCOMPARE(NotesShown(w), (QList<bool> {false, false, false, false, false, false}));
    }

    // The mark follows an edit as it is made, without any button, and goes with a save.
    void MarksChangesNotInAFile()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(!w.LabelUnsaved->isVisible());

        ChooseByKey(w.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home);
        QVERIFY(w.State().UnsavedChanges());
        QVERIFY(QTest::qWaitFor([&] { return w.LabelUnsaved->isVisible(); }, 1000));
        QCOMPARE(w.LabelUnsaved->text(), QString("未保存"));

        shown.files.Choose(folder.filePath("saved.dat").toStdString());
        Click(w.CommandSave);
        QVERIFY(!w.LabelUnsaved->isVisible());
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::StatusLineTest)
#include "status_line_test.moc"
