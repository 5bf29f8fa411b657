// The window's safety net: the question before a write over the radio's own calibration, the
// settings it remembers between runs, and the comparison with a file.
#include "gui/compare_dialog.h"
#include "gui/gui_harness.h"
#include "gui/settings_dialog.h"
#include "image/data_file.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>

namespace nx5rb::test {

class SafetyNetTest : public QObject
{
    Q_OBJECT

private slots:
    // On a first run every switch is on: 写入全部 of the start-up image over the virtual radio
    // would lose its calibration, and the window asks first.
    void WriteAllAsksBeforeOverwritingTheRadiosCalibration_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("cancelled") << int(PromptAnswer::Cancel);
        QTest::newRow("confirmed") << int(PromptAnswer::Ok);
    }
    void WriteAllAsksBeforeOverwritingTheRadiosCalibration()
    {
        QFETCH(int, answer);
        ShownWindow shown(VirtualRadioPort(), ToolSettings {});
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage before = w.Port().Virtual().Radio().Memory();
        shown.prompt.Answers = {PromptAnswer::Ok, PromptAnswer(answer)};
        Click(w.CommandWriteAll);
        QVERIFY(WaitForLinkIdle(w));
        QVERIFY(shown.prompt.Shown.size() >= 2);
        QCOMPARE(QString::fromStdString(shown.prompt.Shown[0].text), QString("全部写入？"));
        QVERIFY(QString::fromStdString(shown.prompt.Shown[1].text)
                    .startsWith("即将覆盖本机的校准数据（频段-A："));
        const bool kept = w.Port().Virtual().Radio().Memory() == before;
        QCOMPARE(kept, PromptAnswer(answer) == PromptAnswer::Cancel);
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(2)); // read back as written: no report
    }

    // The window's own message boxes: Enter on the question before overwriting the radio's
    // calibration presses 取消, and the question says the calibration is the start-up one.
    void EnterOnTheCalibrationQuestionWritesNothing()
    {
        StoreSettings(ToolSettings {});
        ScriptedFiles files;
        MainWindow w(WindowSetup {VirtualRadioPort(), {}}, nullptr, &files);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const RadioImage before = w.Port().Virtual().Radio().Memory();
        QStringList texts;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QTimer boxes;
        QObject::connect(&boxes, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts << box->text();
            if (texts.size() == 1) {
                box->button(QMessageBox::Ok)->click(); // 全部写入？
                return;
            }
            defaultButton = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
            if (box->isVisible())
                box->reject();
        });
        boxes.start(5);
        Click(w.CommandWriteAll);
        QVERIFY(WaitForLinkIdle(w));
        boxes.stop();
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts[1].startsWith("即将覆盖本机的校准数据（频段-A："));
        QVERIFY(texts[1].endsWith("\n当前数据的校准值未从电台读取，也未从文件打开。"));
        QCOMPARE(defaultButton, QMessageBox::Cancel);
        QVERIFY(w.Port().Virtual().Radio().Memory() == before);
        w.close();
    }

    void SettingsAreRememberedFromOneRunToTheNext()
    {
        {
            ShownWindow shown(VirtualRadioPort(), ToolSettings {});
            QVERIFY(shown.Ready());
            ModalHandler<SettingsDialog> settings([](SettingsDialog *dialog) {
                QVERIFY(dialog->LabelBackupFolder->text().contains("backups"));
                QVERIFY(dialog->CheckChangedOnly->isChecked());
                dialog->CheckVerify->setChecked(false);
                dialog->CheckChangedOnly->setChecked(false);
                Click(dialog->OkButton);
            });
            QVERIFY(ClickNode(shown.window, "Settings"));
            QCOMPARE(settings.Handled(), 1);
            shown.window.resize(960, 640);
            Click(shown.window.CommandClose);
        }
        // The next run starts from what the last one left, the store untouched in between.
        MainWindow next;
        const ToolSettings remembered = next.Settings();
        QCOMPARE(QString::fromStdString(remembered.port), QString("virtual"));
        QVERIFY(!remembered.verifyWrites && !remembered.changedBlocksOnly);
        QVERIFY(remembered.backups && remembered.calibrationGuard);
        QCOMPARE(next.size(), QSize(960, 640));
    }

    void CompareFileListsEveryDifferingField()
    {
        QTemporaryDir folder;
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        RadioImage other = w.State().Image;
        other[mm::kTuneBlock[0] + mm::kTuneHighPower + 2] = 199; // band A, high power, point 3
        other[mm::kPowerOnMsg] = 'Z';
        const std::string path = folder.filePath("other.dat").toStdString();
        QVERIFY(!WriteDataFile(path, other));
        shown.files.Choose(path);
        QStringList fields;
        ModalHandler<CompareDialog> compare([&](CompareDialog *dialog) {
            for (int row = 0; row < dialog->TableDifferences->rowCount(); ++row)
                fields << dialog->TableDifferences->item(row, 1)->text() + "="
                        + dialog->TableDifferences->item(row, 3)->text();
        });
        Click(w.CommandCompareFile);
        QCOMPARE(compare.Handled(), 1);
        QCOMPARE(fields, (QStringList {"频段-A 高功率 点 3=199", "P0 第 1 字符=Z"}));
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::SafetyNetTest)
#include "safety_net_test.moc"
