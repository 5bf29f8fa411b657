// "关闭(&C)": the window closes at once when nothing would be lost, and asks first when the image
// or the pages hold changes that are neither in a file nor in the radio.
#include "gui/gui_harness.h"

#include <QTemporaryDir>

namespace nx5rb::test {

namespace {

void EditRxLowOfBandA(MainWindow &w)
{
    ClickCell(w.FrameFreqAreaPage->Grids[0], 1, 1);
    Type("150");
    PressEnter();
}

} // namespace

class CloseGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void NothingPendingClosesAtOnce()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        Click(shown.window.CommandClose);
        QVERIFY(!shown.window.isVisible());
        QCOMPARE(shown.prompt.Texts(), QStringList());
    }

    // 关闭 or the window's own close while a write runs: Cancel lets it go on to its end, OK
    // abandons it as 中止 does and closes without another word.
    void CloseDuringATransferAsksFirst_data()
    {
        QTest::addColumn<bool>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("关闭, cancelled") << true << int(PromptAnswer::Cancel);
        QTest::newRow("关闭, confirmed") << true << int(PromptAnswer::Ok);
        QTest::newRow("window closed, confirmed") << false << int(PromptAnswer::Ok);
    }
    void CloseDuringATransferAsksFirst()
    {
        QFETCH(bool, button);
        QFETCH(int, answer);
        const bool close = PromptAnswer(answer) == PromptAnswer::Ok;
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        w.Port().Virtual().SetBaud(9600); // long enough to close meanwhile
        w.RunCommand(TransferCommand::WriteChannelInfo);
        QVERIFY(w.ProgressFrame->isVisible());

        shown.prompt.Answers = {PromptAnswer(answer)};
        if (button)
            Click(w.CommandClose);
        else
            w.close();
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(2));
        const PromptMessage &question = shown.prompt.Shown[1];
        QCOMPARE(QString::fromStdString(question.text),
                 QString("正在与电台通信，关闭将中止传输，电台中的数据可能不完整。确定关闭？"));
        QCOMPARE(QString::fromStdString(question.title), QString("警告"));
        QVERIFY(question.buttons == PromptButtons::OkCancel);
        QVERIFY(question.defaultButton == PromptAnswer::Cancel);
        QCOMPARE(w.isVisible(), !close);
        if (close) {
            QCOMPARE(w.LinkLayer().Outcome(), TransferOutcome::Abandoned);
            QVERIFY(!w.Port().PortOpen());
        } else {
            QVERIFY(WaitForLinkIdle(w));
            QCOMPARE(w.LinkLayer().Outcome(), TransferOutcome::Completed);
            const RadioImage &radio = w.Port().Virtual().Radio().Memory();
            QVERIFY(std::equal(radio.begin() + mm::kChannelTableStart,
                               radio.begin() + mm::kChannelTableEnd,
                               w.State().Image.begin() + mm::kChannelTableStart));
        }
        QTest::qWait(50);
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(2));
    }

    void ChangesAreAskedAbout_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("area edit pending") << "edit";
        QTest::newRow("area edit applied") << "edit+apply";
        QTest::newRow("working channel applied") << "channel+apply";
        QTest::newRow("band combination pending") << "combination";
        // Only band A's tune table went to the radio; the applied area edit is still nowhere.
        QTest::newRow("area edit applied, band A written") << "edit+apply+writeA";
    }
    void ChangesAreAskedAbout()
    {
        QFETCH(QString, change);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        if (change.startsWith("edit"))
            EditRxLowOfBandA(w);
        else if (change.startsWith("channel"))
            ChooseByKey(w.FrameFreqAreaPage->ComboChannelSel[0], Qt::Key_Down);
        else
            ChooseByKey(w.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home);
        if (change.contains("+apply")) {
            Click(w.CommandApp);
            QVERIFY(!w.State().ChangesPending());
        }
        if (change.endsWith("+writeA")) {
            Click(w.TunePages[0]->CommandWrite);
            QVERIFY(WaitForLinkIdle(w));
            shown.prompt.Shown.clear();
        }

        shown.prompt.Answers = {PromptAnswer::Cancel};
        Click(w.CommandClose);
        QVERIFY(w.isVisible());
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        const PromptMessage &question = shown.prompt.Shown[0];
        QCOMPARE(QString::fromStdString(question.text), QString("数据尚未保存，确定关闭？"));
        QCOMPARE(QString::fromStdString(question.title), QString("NX5RB调谐软件"));
        QVERIFY(question.buttons == PromptButtons::OkCancel);
        // Enter on the question must not throw the edits away.
        QVERIFY(question.defaultButton == PromptAnswer::Cancel);

        shown.prompt.Answers = {PromptAnswer::Ok};
        Click(w.CommandClose);
        QVERIFY(!w.isVisible());
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(2));
    }

    void ImageInStepWithAFileOrTheRadioClosesAtOnce_data()
    {
        QTest::addColumn<QString>("sync");
        QTest::newRow("saved") << "save";
        QTest::newRow("written to the radio") << "write";
        QTest::newRow("read from the radio") << "read";
    }
    void ImageInStepWithAFileOrTheRadioClosesAtOnce()
    {
        QFETCH(QString, sync);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        if (sync == "read") {
            // A list choice the read's band information replaces.
            ChooseByKey(w.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home);
        } else {
            EditRxLowOfBandA(w);
            Click(w.CommandApp);
        }
        if (sync == "save") {
            shown.files.Choose(folder.filePath("saved.dat").toStdString());
            Click(w.CommandSave);
        } else {
            Click(sync == "write" ? w.CommandWriteAll : w.CommandReadAll);
            QVERIFY(WaitForLinkIdle(w));
        }
        const std::size_t asked = shown.prompt.Shown.size(); // the transfer's confirmation

        Click(w.CommandClose);
        QVERIFY(!w.isVisible());
        QCOMPARE(shown.prompt.Shown.size(), asked);
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::CloseGuardTest)
#include "close_guard_test.moc"
