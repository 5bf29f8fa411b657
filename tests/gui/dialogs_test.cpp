// The two modal dialogs of the tree: the port choice ("端口选择") and the about box ("关于"),
// clicked through from inside their own event loops.
#include "gui/about_box.h"
#include "gui/gui_harness.h"
#include "gui/port_dialog.h"
#include "gui/qt_dialogs.h"
#include "gui/translations.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace nx5rb::test {

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // The window's own message boxes carry Qt's standard buttons: they must not speak English.
    void StandardButtonsSpeakChinese_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Retry / Cancel")
            << int(PromptButtons::RetryCancel) << QStringList {"重试", "取消"};
        QTest::newRow("Yes / No / Cancel")
            << int(PromptButtons::YesNoCancel) << QStringList {"是(&Y)", "否(&N)", "取消"};
        QTest::newRow("OK / Cancel")
            << int(PromptButtons::OkCancel) << QStringList {"确定", "取消"};
    }
    void StandardButtonsSpeakChinese()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QVERIFY(InstallQtTranslations(*qApp));
        QStringList shown;
        ModalHandler<QMessageBox> box([&](QMessageBox *message) {
            for (QAbstractButton *button : message->buttons())
                shown << button->text();
            message->reject();
        });
        QtPrompt prompt;
        prompt.Show({"检测连接！重试或取消？", "错误", PromptButtons(buttons), PromptIcon::Error});
        QCOMPARE(box.Handled(), 1);
        shown.sort();
        captions.sort();
        QCOMPARE(shown, captions);
    }

    // The device beside a numbered port is looked up once, when the dialog shows it: a machine
    // whose ports change afterwards still opens the device the user saw.
    void ChoiceKeepsTheDeviceItShowed()
    {
        PortSelection selection;
        int lookups = 0;
        PortDialog dialog(selection, [&](int number) {
            ++lookups;
            return "/dev/ttyUSB" + std::to_string(number * 10);
        });
        const auto *label = dialog.findChild<QLabel *>("OptPort3Device");
        QVERIFY(label);
        const QString shown = label->text();
        Click(dialog.OptPort[2]);
        Click(dialog.OkButton);
        QCOMPARE(selection.CommPortNumber, std::int16_t(3));
        QCOMPARE(QString::fromStdString(selection.OpenPath()), shown);
        QCOMPARE(lookups, 4);
    }

    void OkOnPort3ChoosesCom3()
    {
        ShownWindow shown {PortSelection {}};
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QCOMPARE(QString::fromStdString(w.Port().CommPortName()), QString("COM1"));
        QStringList captions;
        bool startedOnPort1 = false;
        ModalHandler<PortDialog> dialog([&](PortDialog *ports) {
            captions << ports->windowTitle();
            for (QRadioButton *option : ports->OptPort)
                captions << option->text();
            startedOnPort1 = ports->OptPort[0]->isChecked();
            Click(ports->OptPort[2]);
            Click(ports->OkButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));

        QCOMPARE(dialog.Handled(), 1);
        QVERIFY(!dialog.LeftOpen());
        QCOMPARE(captions, (QStringList {"端口选择", "通信口1", "通信口2", "通信口3", "通信口4"}));
        QVERIFY(startedOnPort1);
        QCOMPARE(w.Ports().CommPortNumber, std::int16_t(3));
        QVERIFY(!w.Ports().PortChanged); // consumed by the window
        QCOMPARE(QString::fromStdString(w.Port().CommPortName()), QString("COM3"));
        QCOMPARE(w.CurrentPage(), static_cast<QWidget *>(w.FrameFreqAreaPage));
        QCOMPARE(shown.prompt.Texts(), QStringList());
    }

    void CancelAfterAnotherOptionChangesNothing()
    {
        ShownWindow shown {PortSelection {}};
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        ModalHandler<PortDialog> first([](PortDialog *ports) {
            Click(ports->OptPort[1]);
            Click(ports->CancelButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));
        QCOMPARE(first.Handled(), 1);
        QVERIFY(!first.LeftOpen());
        QCOMPARE(w.Ports().CommPortNumber, std::int16_t(1));
        QVERIFY(w.Ports().Device.empty());
        QCOMPARE(QString::fromStdString(w.Port().CommPortName()), QString("COM1"));

        // The next opening shows the port in use, not the option clicked before Cancel.
        bool onPort1 = false;
        bool onPort2 = true;
        ModalHandler<PortDialog> second([&](PortDialog *ports) {
            onPort1 = ports->OptPort[0]->isChecked();
            onPort2 = ports->OptPort[1]->isChecked();
            Click(ports->CancelButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));
        QCOMPARE(second.Handled(), 1);
        QVERIFY(onPort1);
        QVERIFY(!onPort2);
    }

    // The device remembered from the last run is not plugged in: the window starts on COM1 as at
    // a first start, says so on its status line, and keeps the device for the next run until
    // another port is chosen.
    void RememberedDeviceThatIsGoneIsNamedAndKept()
    {
        const std::string gone = "/dev/serial/by-id/usb-nx5rb-test-gone-if00-port0";
        ToolSettings settings = PlainSettings();
        settings.port = gone;
        StoreSettings(settings);
        ScriptedPrompt prompt;
        ScriptedFiles files;
        MainWindow w(WindowSetup {}, &prompt, &files);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.Ports().CommPortNumber, std::int16_t(1));
        QVERIFY(w.Ports().Device.empty());
        const QString status = w.LabelPort->text();
        QVERIFY2(status.startsWith(QString::fromStdString("上次使用的端口 " + gone
                                                          + " 不在本机，现用：通信口1（")),
                 qPrintable(status));
        QCOMPARE(w.Settings().port, gone);
        QVERIFY(prompt.Shown.empty()); // said on the status line, not in the way

        ModalHandler<PortDialog> dialog([](PortDialog *ports) {
            Click(ports->OptPortVirtual);
            Click(ports->OkButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));
        QCOMPARE(dialog.Handled(), 1);
        QCOMPARE(w.LabelPort->text(), QString("端口：虚拟电台"));
        QCOMPARE(w.Settings().port, std::string(kVirtualPort));
    }

    void VirtualOptionServesTheNextTransfer()
    {
        ShownWindow shown {PortSelection {}};
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        ModalHandler<PortDialog> dialog([](PortDialog *ports) {
            Click(ports->OptPortVirtual);
            Click(ports->OkButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));
        QCOMPARE(dialog.Handled(), 1);
        QCOMPARE(QString::fromStdString(w.Port().CommPortName()), QString("virtual"));

        Click(w.CommandReadAll);
        QVERIFY(WaitForLinkIdle(w));
        QCOMPARE(shown.prompt.Texts(), QStringList {"读取全部？"}); // no port error
        const VirtualRadio &radio = w.Port().Virtual().Radio();
        QCOMPARE(radio.SessionsCompleted(), 1);
        const mm::Address first = mm::kTuneBlock[0] + mm::kTuneSensitivity;
        QCOMPARE(w.TunePages[0]->TuneGrid->CellText(1, 1), QString::number(radio.Memory()[first]));
    }

    void PortDialogDuringATransfer_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK on the same port abandons it") << true;
        QTest::newRow("Cancel leaves it running") << false;
    }
    void PortDialogDuringATransfer()
    {
        QFETCH(bool, confirm);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const CellGrid *tuneA = w.TunePages[0]->TuneGrid;
        const QString before = tuneA->CellText(1, 1);
        // A slow line, so that the transfer is still running while the dialog is open.
        w.Port().Virtual().SetBaud(1200);

        Click(w.CommandReadAll);
        QVERIFY(w.Port().PortOpen());
        bool portOpenMeanwhile = false;
        ModalHandler<PortDialog> dialog([&](PortDialog *ports) {
            portOpenMeanwhile = w.Port().PortOpen();
            Click(confirm ? ports->OkButton : ports->CancelButton);
        });
        QVERIFY(ClickNode(w, "PortSel"));
        QCOMPARE(dialog.Handled(), 1);
        QVERIFY(portOpenMeanwhile);

        if (confirm) {
            QVERIFY(!w.Port().PortOpen());
            QCOMPARE(w.LinkLayer().LinkState(), LinkPhase::Idle);
            QVERIFY(!w.ProgressFrame->isVisible());
            QCOMPARE(tuneA->CellText(1, 1), before); // nothing decoded
        } else {
            QVERIFY(w.Port().PortOpen());
            QVERIFY(WaitForLinkIdle(w, 60000));
            QCOMPARE(w.Port().Virtual().Radio().SessionsCompleted(), 1);
            QVERIFY(tuneA->CellText(1, 1) != before);
        }
        QCOMPARE(shown.prompt.Texts(), QStringList {"读取全部？"});
    }

    void AboutBoxShowsTitleVersionAndDate_data()
    {
        QTest::addColumn<bool>("sysInfoStarts");
        QTest::newRow("system information missing") << false;
        QTest::newRow("system information started") << true;
    }
    void AboutBoxShowsTitleVersionAndDate()
    {
        QFETCH(bool, sysInfoStarts);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QStringList texts;
        int starts = 0;
        std::size_t messagesWhileOpen = 0;
        bool openAfterSysInfo = false;
        bool iconShown = false;
        ModalHandler<frmAbout> about([&](frmAbout *box) {
            texts << box->windowTitle() << box->lblTitle->text() << box->lblVersion->text()
                  << box->lblDescription->text() << box->cmdSysInfo->text() << box->cmdOK->text();
            iconShown = !box->picIcon->pixmap().isNull();
            box->SysInfoStarter = [&] {
                ++starts;
                return sysInfoStarts;
            };
            Click(box->cmdSysInfo);
            messagesWhileOpen = shown.prompt.Shown.size();
            openAfterSysInfo = box->isVisible();
            Click(box->cmdOK);
        });
        QVERIFY(ClickNode(w, "About"));

        QCOMPARE(about.Handled(), 1);
        QVERIFY(!about.LeftOpen()); // "确定" closed it
        QCOMPARE(texts,
                 (QStringList {"关于 NX5RB调谐软件", "NX5RB调谐软件", "版本 1.0.6",
                               "发布日期 2015.11.12", "系统信息(&S)...", "确定"}));
        QCOMPARE(starts, 1);
        QVERIFY(openAfterSysInfo);
        // The program's icon, in the box and on the window (and so in the task bar).
        QVERIFY(iconShown);
        QVERIFY(!w.windowIcon().isNull());
        if (sysInfoStarts) {
            QCOMPARE(messagesWhileOpen, std::size_t(0));
        } else {
            QCOMPARE(messagesWhileOpen, std::size_t(1));
            const PromptMessage &message = shown.prompt.Shown[0];
            QCOMPARE(QString::fromStdString(message.text), QString("此时系统信息不可用"));
            QCOMPARE(QString::fromStdString(message.title), QString("NX5RB调谐软件"));
            QVERIFY(message.buttons == PromptButtons::Ok);
        }
        QCOMPARE(w.CurrentPage(), static_cast<QWidget *>(w.FrameFreqAreaPage));
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::DialogsTest)
#include "dialogs_test.moc"
