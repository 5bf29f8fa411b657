// Clicks on the navigation tree: which page each node shows, and the question about pending
// changes with its three answers.
#include "gui/about_box.h"
#include "gui/gui_harness.h"

namespace nx5rb::test {

namespace {

QWidget *PageFor(MainWindow &w, const QString &name)
{
    if (name == "area")
        return w.FrameFreqAreaPage;
    if (name == "A")
        return w.TunePages[0];
    if (name == "B")
        return w.TunePages[1];
    if (name == "C")
        return w.TunePages[2];
    if (name == "message")
        return w.FrameOptionPage;
    return w.FrameChannelInfoPage;
}

// Exactly `page` is visible among the pages.
bool OnlyVisible(MainWindow &w, QWidget *page)
{
    QList<QWidget *> pages = {w.FrameFreqAreaPage, w.FrameOptionPage, w.FrameChannelInfoPage};
    for (TuneTablePage *tune : w.TunePages)
        pages << tune;
    for (QWidget *each : pages)
        if (each->isVisible() != (each == page))
            return false;
    return w.CurrentPage() == page;
}

const PromptMessage kDataChangedQuestion
    = {"数据改变！是否保存？", "NX5RB调谐软件", PromptButtons::YesNoCancel, PromptIcon::Question};

// Band A's receive upper limit typed into its grid and committed with Enter: pending, not
// applied.
void EditRxHighOfBandA(MainWindow &w, const char *value)
{
    ClickCell(w.FrameFreqAreaPage->Grids[0], 1, 2);
    Type(value);
    PressEnter();
}

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

private slots:
    void NodesShowTheirPagesWithoutAQuestion_data()
    {
        QTest::addColumn<QString>("from"); // a node whose page differs from the expected one
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("page");
        QTest::newRow("高级") << "ChannelInfo"
                              << "Advanced"
                              << "area";
        QTest::newRow("频段设置") << "TuneC"
                                  << "FreqAreaSet"
                                  << "area";
        QTest::newRow("调试") << "FreqAreaSet"
                              << "Debug"
                              << "A";
        QTest::newRow("频段-A") << "FreqAreaSet"
                                << "DebugA"
                                << "A";
        QTest::newRow("频段-B") << "FreqAreaSet"
                                << "DebugB"
                                << "B";
        QTest::newRow("频段-C") << "FreqAreaSet"
                                << "DebugC"
                                << "C";
        QTest::newRow("灵敏度/功率 A") << "PowerOnMsg"
                                       << "TuneA"
                                       << "A";
        QTest::newRow("灵敏度/功率 B") << "PowerOnMsg"
                                       << "TuneB"
                                       << "B";
        QTest::newRow("灵敏度/功率 C") << "PowerOnMsg"
                                       << "TuneC"
                                       << "C";
        QTest::newRow("MCU版本") << "FreqAreaSet"
                                 << "PowerOnMsg"
                                 << "message";
        QTest::newRow("信道设置") << "FreqAreaSet"
                                  << "ChannelInfo"
                                  << "channels";
    }
    void NodesShowTheirPagesWithoutAQuestion()
    {
        QFETCH(QString, from);
        QFETCH(QString, node);
        QFETCH(QString, page);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QVERIFY(ClickNode(w, from));
        QVERIFY(w.CurrentPage() != PageFor(w, page));
        QVERIFY(ClickNode(w, node));
        QVERIFY(OnlyVisible(w, PageFor(w, page)));
        QCOMPARE(shown.prompt.Texts(), QStringList());
    }

    void PendingEditIsAskedAbout_data()
    {
        QTest::addColumn<PromptAnswer>("answer");
        QTest::newRow("Yes") << PromptAnswer::Yes;
        QTest::newRow("No") << PromptAnswer::No;
        QTest::newRow("Cancel") << PromptAnswer::Cancel;
    }
    void PendingEditIsAskedAbout()
    {
        QFETCH(PromptAnswer, answer);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage before = w.State().Image;
        const CellGrid *grid = w.FrameFreqAreaPage->Grids[0];
        const CellGrid *tuneA = w.TunePages[0]->TuneGrid;
        QVERIFY(!tuneA->IsShaded(1, 7));

        EditRxHighOfBandA(w, "160");
        QVERIFY(w.State().DataChanged);
        shown.prompt.Answers = {answer};
        QVERIFY(ClickNode(w, "DebugB"));

        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(shown.prompt.Shown.front(), kDataChangedQuestion);
        const mm::Address rxHigh = mm::kFreqAreaRecord[0] + 2;
        switch (answer) {
        case PromptAnswer::Yes:
            // Applied: the image holds 160 and band A's tune page shades from 164 MHz on.
            QVERIFY(OnlyVisible(w, w.TunePages[1]));
            QCOMPARE(w.State().Image[rxHigh], std::uint8_t(0x16));
            QCOMPARE(w.State().Image[rxHigh + 1], std::uint8_t(0x00));
            QVERIFY(!w.State().DataChanged);
            QCOMPARE(grid->CellText(1, 2), QString("160"));
            QVERIFY(tuneA->IsShaded(1, 7));
            QVERIFY(!tuneA->IsShaded(1, 6));
            QVERIFY(!tuneA->IsShaded(2, 9)); // the transmit limit stayed 175
            break;
        case PromptAnswer::No:
            // Dropped: the grid shows the image's value again.
            QVERIFY(OnlyVisible(w, w.TunePages[1]));
            QVERIFY(w.State().Image == before);
            QVERIFY(!w.State().DataChanged);
            QCOMPARE(grid->CellText(1, 2), QString("175"));
            QCOMPARE(w.State().FreqAreas[0].RxHigh, std::int16_t(175));
            QVERIFY(!tuneA->IsShaded(1, 7));
            break;
        default:
            // Nothing happened: same page, the edit still pending.
            QVERIFY(OnlyVisible(w, w.FrameFreqAreaPage));
            QVERIFY(w.State().Image == before);
            QVERIFY(w.State().DataChanged);
            QCOMPARE(grid->CellText(1, 2), QString("160"));
            break;
        }
    }

    void ListChoiceAloneIsAskedAbout_data()
    {
        QTest::addColumn<int>("list"); // -1 the band combination, 0..2 a band's working channel
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chosenItem");
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<int>("itemAfter");
        QTest::addColumn<int>("byteAfter");
        QTest::newRow("combination, Yes")
            << -1 << int(Qt::Key_Home) << 0 << PromptAnswer::Yes << 0 << 0x48;
        QTest::newRow("combination, No")
            << -1 << int(Qt::Key_Home) << 0 << PromptAnswer::No << 6 << 0xFF;
        QTest::newRow("combination B+C, Yes")
            << -1 << int(Qt::Key_Up) << 5 << PromptAnswer::Yes << 5 << 0x8C;
        QTest::newRow("band A UHF, Yes")
            << 0 << int(Qt::Key_Down) << 1 << PromptAnswer::Yes << 1 << 0x37;
        QTest::newRow("band B VHF, Yes")
            << 1 << int(Qt::Key_Up) << 0 << PromptAnswer::Yes << 0 << 0xFF;
        QTest::newRow("band B VHF, No")
            << 1 << int(Qt::Key_Up) << 0 << PromptAnswer::No << 1 << 0x37;
    }
    void ListChoiceAloneIsAskedAbout()
    {
        QFETCH(int, list);
        QFETCH(int, key);
        QFETCH(int, chosenItem);
        QFETCH(PromptAnswer, answer);
        QFETCH(int, itemAfter);
        QFETCH(int, byteAfter);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QComboBox *combo = list < 0 ? w.FrameFreqAreaPage->ComboSelFreqArea
                                    : w.FrameFreqAreaPage->ComboChannelSel[std::size_t(list)];
        const mm::Address byte = list < 0 ? mm::kWorkBandsCode : mm::kWorkChannel + list;

        ChooseByKey(combo, Qt::Key(key));
        QCOMPARE(combo->currentIndex(), chosenItem);
        // A working channel counts as an edit; the band combination only differs from the image.
        QCOMPARE(w.State().DataChanged, list >= 0);
        shown.prompt.Answers = {answer};
        QVERIFY(ClickNode(w, "TuneA"));

        QCOMPARE(shown.prompt.Texts(), QStringList {"数据改变！是否保存？"});
        QVERIFY(OnlyVisible(w, w.TunePages[0]));
        QCOMPARE(combo->currentIndex(), itemAfter);
        QCOMPARE(int(w.State().Image[byte]), byteAfter);
        QVERIFY(!w.State().DataChanged);

        // Settled either way: the next click asks nothing.
        QVERIFY(ClickNode(w, "FreqAreaSet"));
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
    }

    void CancelStaysEvenOnDialogNodes_data()
    {
        QTest::addColumn<QString>("node");
        QTest::newRow("端口选择") << "PortSel";
        QTest::newRow("关于") << "About";
        QTest::newRow("the page already shown") << "FreqAreaSet";
    }
    void CancelStaysEvenOnDialogNodes()
    {
        QFETCH(QString, node);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        EditRxHighOfBandA(w, "150");
        shown.prompt.Answers = {PromptAnswer::Cancel};
        ModalHandler<QDialog> dialog([](QDialog *) {});
        QVERIFY(ClickNode(w, node));

        QCOMPARE(shown.prompt.Texts(), QStringList {"数据改变！是否保存？"});
        QCOMPARE(dialog.Handled(), 0);
        QVERIFY(OnlyVisible(w, w.FrameFreqAreaPage));
        QVERIFY(w.State().DataChanged);
        QCOMPARE(w.PageTree->currentItem(), Node(w, "FreqAreaSet")); // the shown page's node
    }

    // A node reached with the arrow keys acts on Enter or Space as on a click, question included;
    // the highlight ends on the node of the page that is shown.
    void KeysOnANodeActAsAClick_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<QString>("highlight");
        QTest::newRow("Enter, 否") << int(Qt::Key_Return) << PromptAnswer::No << "DebugB";
        QTest::newRow("Space, 否") << int(Qt::Key_Space) << PromptAnswer::No << "DebugB";
        QTest::newRow("Enter, 取消")
            << int(Qt::Key_Return) << PromptAnswer::Cancel << "FreqAreaSet";
    }
    void KeysOnANodeActAsAClick()
    {
        QFETCH(int, key);
        QFETCH(PromptAnswer, answer);
        QFETCH(QString, highlight);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        EditRxHighOfBandA(w, "150");
        shown.prompt.Answers = {answer};
        w.PageTree->setFocus();
        Node(w, "Debug")->setExpanded(true);
        w.PageTree->setCurrentItem(Node(w, "DebugB"));
        QTest::keyClick(w.PageTree, Qt::Key(key));

        QCOMPARE(shown.prompt.Texts(), QStringList {"数据改变！是否保存？"});
        QVERIFY(OnlyVisible(w, answer == PromptAnswer::No ? PageFor(w, "B") : PageFor(w, "area")));
        QCOMPARE(w.PageTree->currentItem(), Node(w, highlight));
    }

    void YesThenOpensTheAboutBox()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        EditRxHighOfBandA(w, "150");
        shown.prompt.Answers = {PromptAnswer::Yes};
        ModalHandler<frmAbout> about([](frmAbout *box) { Click(box->cmdOK); });
        QVERIFY(ClickNode(w, "About"));

        QCOMPARE(shown.prompt.Texts(), QStringList {"数据改变！是否保存？"});
        QCOMPARE(about.Handled(), 1);
        QVERIFY(!about.LeftOpen());
        QCOMPARE(w.State().Image[mm::kFreqAreaRecord[0] + 2], std::uint8_t(0x15));
        QVERIFY(OnlyVisible(w, w.FrameFreqAreaPage));
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::NavigationTest)
#include "navigation_test.moc"
