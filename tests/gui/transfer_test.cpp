// The read and write buttons against the virtual radio, through the real event loop: the radio's
// replies arrive from timers while the test waits, as they would over a cable.
#include "gui/gui_harness.h"
#include "image/freq_codec.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QLabel>

namespace nx5rb::test {

namespace {

bool SameBytes(const RadioImage &a, const RadioImage &b, mm::Address from, mm::Address to)
{
    return std::equal(a.begin() + from, a.begin() + to, b.begin() + from);
}

PromptMessage Confirmation(const char *text)
{
    return {text, "警告", PromptButtons::OkCancel, PromptIcon::Warning};
}

// Rows 1..3 of a band's tune grid, as the radio's memory would show them.
QList<QStringList> TuneRowsOf(const RadioImage &memory, int band)
{
    QList<QStringList> rows;
    for (mm::Address offset : {mm::kTuneSensitivity, mm::kTuneLowPower, mm::kTuneHighPower}) {
        QStringList row;
        for (int point = 0; point < 16; ++point)
            row << QString::number(memory[mm::kTuneBlock[std::size_t(band)] + offset + point]);
        rows << row;
    }
    return rows;
}

QList<QStringList> TuneRowsShown(const MainWindow &w, int band)
{
    const CellGrid *grid = w.TunePages[std::size_t(band)]->TuneGrid;
    return {RowTexts(grid, 1, 1, 16), RowTexts(grid, 2, 1, 16), RowTexts(grid, 3, 1, 16)};
}

} // namespace

class TransferTest : public QObject
{
    Q_OBJECT

private slots:
    void ReadAllChangesWhatThePagesShow()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage &radio = w.Port().Virtual().Radio().Memory();
        const QList<QStringList> before = TuneRowsShown(w, 0);
        QVERIFY(before != TuneRowsOf(radio, 0)); // the radio holds other values than the defaults

        Click(w.CommandReadAll);
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(shown.prompt.Shown[0], Confirmation("读取全部？"));
        // The click returns once the entry string is out; the radio has not answered yet.
        QVERIFY(w.ProgressFrame->isVisible());
        QCOMPARE(w.ProgressLabel->text(), QString("数据处理中.."));

        QVERIFY(WaitForLinkIdle(w));
        QVERIFY(!w.ProgressFrame->isVisible());
        QVERIFY(!w.Port().PortOpen());
        QCOMPARE(w.Port().Virtual().Radio().SessionsCompleted(), 1);
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1)); // no message at the end
        for (int band = 0; band < 3; ++band)
            QCOMPARE(TuneRowsShown(w, band), TuneRowsOf(radio, band));
        // The power-on message and the channels are not part of everything.
        QCOMPARE(MessageLine(w.FrameOptionPage, 1), QString("VER 1.02014/05"));
        const CellGrid *channels = w.FrameChannelInfoPage->ChannelGrid;
        for (int row = 1; row <= 128; ++row)
            QVERIFY(channels->CellText(row, 1).isEmpty());
    }

    // While a transfer runs nothing may change or send the image under it; "中止" stays.
    void CommandsWaitForARunningTransfer()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        w.Port().Virtual().SetBaud(9600); // long enough to look at the window meanwhile
        ChooseByKey(w.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home); // pending, unapplied
        Click(w.CommandReadAll);
        QVERIFY(w.ProgressFrame->isVisible());
        const QList<QWidget *> locked = {w.CommandApp,
                                         w.CommandOpen,
                                         w.CommandSave,
                                         w.CommandReadAll,
                                         w.CommandWriteAll,
                                         w.FrameFreqAreaPage->Grids[0],
                                         w.FrameFreqAreaPage->ComboSelFreqArea,
                                         w.FrameFreqAreaPage->CommandWrite,
                                         w.FrameChannelInfoPage->CommandWriteChannelInfo};
        for (QWidget *widget : locked)
            QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
        QVERIFY(w.CommandAbort->isEnabled());
        QVERIFY(w.CommandClose->isEnabled());

        // The tree still shows pages, but neither applies nor drops the pending choice; not even a
        // handler called directly changes the image.
        const RadioImage before = w.State().Image;
        QVERIFY(ClickNode(w, "TuneB"));
        QCOMPARE(w.CurrentPage(), w.TunePages[1]);
        w.CommandApp_Click();
        QVERIFY(w.State().Image == before);
        QVERIFY(w.State().ChangesPending());
        QCOMPARE(shown.prompt.Texts(), QStringList {"读取全部？"});

        Click(w.CommandAbort);
        QVERIFY(!w.ProgressFrame->isVisible());
        for (QWidget *widget : locked)
            QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    }

    // Cancel after the radio refused a block: the window says how much of the write went out.
    void CancelledWriteSaysHowManyBlocksReachedTheRadio()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        w.Port().Virtual().Radio().Faults.NakOnWrite = 13;
        shown.prompt.Answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
        w.RunCommand(TransferCommand::WriteChannelInfo);
        QVERIFY(WaitForLinkIdle(w));
        QCOMPARE(shown.prompt.Texts(),
                 (QStringList {"写信道信息？", "检测连接！重试或取消？",
                               "已写入 12/128 块，电台中的数据新旧混杂。"}));
    }

    void CancelledReadLeavesThePortClosed()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const QList<QStringList> before = TuneRowsShown(w, 0);
        shown.prompt.Answers = {PromptAnswer::Cancel};

        Click(w.CommandReadAll);
        QVERIFY(!w.ProgressFrame->isVisible());
        QVERIFY(!w.Port().PortOpen());
        QCOMPARE(w.LinkLayer().LinkState(), LinkPhase::Idle);
        QTest::qWait(200); // nothing may arrive later either
        QVERIFY(w.Port().Virtual().Radio().FrameLog().empty());
        QCOMPARE(TuneRowsShown(w, 0), before);
    }

    void ChannelReadFillsTheChannelGrid()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage &radio = w.Port().Virtual().Radio().Memory();
        QVERIFY(ClickNode(w, "ChannelInfo"));
        Click(w.FrameChannelInfoPage->CommandReadChannelInfo);
        QCOMPARE(shown.prompt.Texts(), QStringList {"读取信道信息？"});
        QVERIFY(WaitForLinkIdle(w));

        const CellGrid *grid = w.FrameChannelInfoPage->ChannelGrid;
        int filled = 0;
        for (int channel = 1; channel <= mm::kChannelCount; ++channel) {
            const mm::Address record = mm::ChannelRecord(channel);
            const bool stored = radio[record + mm::kChRxFreq] != mm::kErased;
            const QString where = QString("channel row %1").arg(channel);
            QCOMPARE(grid->CellText(channel, 0), QString::number(channel - 1));
            if (!stored) {
                QVERIFY2(grid->CellText(channel, 1).isEmpty(), qPrintable(where));
                continue;
            }
            ++filled;
            QCOMPARE(grid->CellText(channel, 1),
                     QString::fromStdString(DataToFreq(radio, record + mm::kChRxFreq)));
            for (int col : {3, 5, 6, 7})
                QVERIFY2(!grid->CellText(channel, col).isEmpty(), qPrintable(where));
        }
        QVERIFY(filled > 0);
        QVERIFY(SameBytes(w.State().Image, radio, mm::kChannelTableStart, mm::kChannelTableEnd));
    }

    void WriteAllSendsTheEditedLimit_data()
    {
        QTest::addColumn<bool>("appliedFirst");
        QTest::newRow("applied first") << true;
        QTest::newRow("still pending") << false;
    }
    void WriteAllSendsTheEditedLimit()
    {
        QFETCH(bool, appliedFirst);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage &radio = w.Port().Virtual().Radio().Memory();
        const RadioImage radioBefore = radio;

        ClickCell(w.FrameFreqAreaPage->Grids[0], 1, 1);
        Type("140");
        PressEnter();
        if (appliedFirst)
            Click(w.CommandApp);
        // The window takes no input for 2 s after the transfer (Qt's coarse timers may end that up
        // to 5 % early); the virtual radio's own transfer takes a few milliseconds.
        QElapsedTimer clock;
        clock.start();
        Click(w.CommandWriteAll); // returns once the transfer and its pause are over
        QVERIFY2(clock.elapsed() >= 1500, qPrintable(QString::number(clock.elapsed()) + " ms"));

        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(shown.prompt.Shown[0], Confirmation("全部写入？"));
        QVERIFY(WaitForLinkIdle(w));
        QVERIFY(!w.ProgressFrame->isVisible());
        QVERIFY(!w.State().DataChanged);
        const mm::Address rxLowA = mm::kFreqAreaRecord[0];
        QCOMPARE(radio[rxLowA], std::uint8_t(0x14));
        QCOMPARE(radio[rxLowA + 1], std::uint8_t(0x00));
        const RadioImage &image = w.State().Image;
        QVERIFY(SameBytes(radio, image, mm::kFreqAreaBlock, mm::kFreqAreaBlockEnd));
        QVERIFY(SameBytes(radio, image, mm::kTuneRegionStart, mm::kTuneRegionEnd));
        QVERIFY(SameBytes(radio, image, mm::kBandStartRecord0, mm::kBandStartEnd));
        // Everything leaves the channels and the power-on message alone.
        QVERIFY(SameBytes(radio, radioBefore, mm::kChannelTableStart, mm::kChannelTableEnd));
        QVERIFY(SameBytes(radio, radioBefore, mm::kPowerOnMsg, mm::kPowerOnMsgEnd));
    }

    void AreaWriteSendsAChangedCombination()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage &radio = w.Port().Virtual().Radio().Memory();
        QCOMPARE(radio[mm::kWorkBandsCode], std::uint8_t(0xFF));

        ChooseByKey(w.FrameFreqAreaPage->ComboSelFreqArea, Qt::Key_Home); // "频段-A"
        QVERIFY(!w.State().DataChanged);
        Click(w.FrameFreqAreaPage->CommandWrite);
        QCOMPARE(shown.prompt.Texts(), QStringList {"写频段信息？"});
        QVERIFY(WaitForLinkIdle(w));

        QCOMPARE(radio[mm::kWorkBandsCode], std::uint8_t(0x48));
        QCOMPARE(w.State().Image[mm::kWorkBandsCode], std::uint8_t(0x48));
        QCOMPARE(w.FrameFreqAreaPage->ComboSelFreqArea->currentIndex(), 0);
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::TransferTest)
#include "transfer_test.moc"
