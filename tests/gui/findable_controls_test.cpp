// Test robots find the window's controls by their names, and screen readers announce every
// control a person works with.
#include "gui/about_box.h"
#include "gui/compare_dialog.h"
#include "gui/gui_harness.h"
#include "gui/port_dialog.h"
#include "gui/settings_dialog.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QSet>

namespace nx5rb::test {

namespace {

struct Named
{
    QString name;
    QWidget *widget;
};

// Every control the window and its pages hold by name.
QList<Named> NamedControls(MainWindow &w)
{
    QList<Named> controls = {
        {"TreeView1", w.PageTree},
        {"Frame1", w.ProgressFrame},
        {"Label2", w.ProgressLabel},
        {"ProgressBar1", w.ProgressBar},
        {"CommandAbort", w.CommandAbort},
        {"CommandWriteAll", w.CommandWriteAll},
        {"CommandReadAll", w.CommandReadAll},
        {"CommandApp", w.CommandApp},
        {"CommandOpen", w.CommandOpen},
        {"CommandSave", w.CommandSave},
        {"CommandClose", w.CommandClose},
    };
    FreqAreaPage *area = w.FrameFreqAreaPage;
    controls << Named {"FrameFreqArea", area} << Named {"ComboSelFreqArea", area->ComboSelFreqArea}
             << Named {"CommandRead", area->CommandRead}
             << Named {"CommandWrite", area->CommandWrite};
    const QStringList gridNames
        = {"MSHFlexGridFreqAreaA", "MSHFlexGridFreqAreaB", "MSHFlexGridFreqAreaC"};
    const QStringList boxNames = {"Text1", "Text2", "Text6"};
    for (std::size_t band = 0; band < 3; ++band) {
        controls << Named {gridNames[int(band)], area->Grids[band]}
                 << Named {boxNames[int(band)], area->Editors[band]}
                 << Named {QString("ComboChannelSel%1").arg(band), area->ComboChannelSel[band]};
    }

    const QStringList letters = {"A", "B", "C"};
    for (std::size_t band = 0; band < 3; ++band) {
        TuneTablePage *tune = w.TunePages[band];
        controls << Named {QString("FrameTuneData%1").arg(band), tune}
                 << Named {QString("MSHFlexGridTuneData%1").arg(band), tune->TuneGrid}
                 << Named {QString("MSHFlexGridSqlTune%1").arg(band), tune->SquelchGrid}
                 << Named {"CommandRead" + letters[int(band)], tune->CommandRead}
                 << Named {"CommandWrite" + letters[int(band)], tune->CommandWrite};
        for (std::size_t field = 0; field < tune->TextResponse.size(); ++field)
            controls << Named {
                QString("TextResponse%1").arg(band * tune->TextResponse.size() + field),
                tune->TextResponse[field]};
        if (band > 0)
            controls << Named {QString("TextPkValue%1").arg(band), tune->TextPkValue};
    }

    PowerOnPage *message = w.FrameOptionPage;
    controls << Named {"FrameOption", message}
             << Named {"CommandReadOption", message->CommandReadOption}
             << Named {"CommandWriteOption", message->CommandWriteOption};
    for (std::size_t box = 0; box < message->TextPowerOnMsg.size(); ++box)
        controls << Named {QString("TextPowerOnMsg%1").arg(box), message->TextPowerOnMsg[box]};

    ChannelPage *channels = w.FrameChannelInfoPage;
    controls << Named {"FrameChannelInfo", channels}
             << Named {"MSHFlexGridChInfo", channels->ChannelGrid}
             << Named {"CommandReadChannelInfo", channels->CommandReadChannelInfo}
             << Named {"CommandWriteChannelInfo", channels->CommandWriteChannelInfo};
    return controls;
}

// What a screen reader announces for the widget.
QString SpokenName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

} // namespace

class FindableControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void EveryNamedControlIsFoundByItsName()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const QList<Named> controls = NamedControls(w);
        for (const Named &control : controls) {
            QVERIFY2(control.widget, qPrintable(control.name));
            const QList<QWidget *> found = w.findChildren<QWidget *>(control.name);
            QVERIFY2(found.size() == 1,
                     qPrintable(QString("%1 found %2 times").arg(control.name).arg(found.size())));
            QVERIFY2(found.front() == control.widget, qPrintable(control.name));
        }
        // No two of the window's own controls share a name (Qt's inner widgets aside).
        QSet<QString> names;
        for (QObject *child : w.findChildren<QObject *>()) {
            const QString name = child->objectName();
            if (name.isEmpty() || name.startsWith("qt_"))
                continue;
            QVERIFY2(!names.contains(name), qPrintable(name + " is used twice"));
            names.insert(name);
        }
    }

    void EveryControlAPersonUsesHasAnAccessibleName()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QList<QWidget *> used;
        for (QAbstractButton *button : w.findChildren<QAbstractButton *>())
            if (!qobject_cast<QAbstractItemView *>(button->parentWidget())) // a grid's corner
                used << button;
        for (QComboBox *combo : w.findChildren<QComboBox *>())
            used << combo;
        for (CellGrid *grid : w.findChildren<CellGrid *>())
            used << grid;
        for (EditorBox *box : w.findChildren<EditorBox *>())
            if (!qobject_cast<CellGrid *>(box->parentWidget()->parentWidget()))
                used << box; // the grids' boxes are checked where they open, below
        used << w.PageTree << w.ProgressBar;
        QVERIFY(used.size() > 100);
        for (QWidget *widget : used)
            QVERIFY2(!widget->accessibleName().isEmpty(),
                     qPrintable(QString(widget->metaObject()->className()) + ' '
                                + widget->objectName()));

        // A grid's box is named after the cell it edits.
        for (std::size_t band = 0; band < 3; ++band) {
            CellGrid *grid = w.FrameFreqAreaPage->Grids[band];
            EditorBox *box = w.FrameFreqAreaPage->Editors[band];
            ClickCell(grid, 1, 1);
            const QString lower = box->accessibleName();
            ClickCell(grid, 1, 2);
            const QString upper = box->accessibleName();
            QVERIFY2(!lower.isEmpty() && !upper.isEmpty() && lower != upper,
                     qPrintable(box->objectName()));
        }
    }

    void DialogControlsAreNamed()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        PortDialog ports(shown.window.Ports(), {}, &shown.window);
        frmAbout about(shown.prompt, &shown.window);
        SettingsDialog settings(ToolSettings {}, "/tmp", &shown.window);
        CompareDialog compare({}, "other.dat", &shown.window);
        for (QDialog *dialog :
             std::initializer_list<QDialog *> {&ports, &about, &settings, &compare}) {
            const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
            QVERIFY(!buttons.isEmpty());
            for (QAbstractButton *button : buttons) {
                if (qobject_cast<QAbstractItemView *>(button->parentWidget()))
                    continue; // a table's corner
                QVERIFY2(!button->objectName().isEmpty(), qPrintable(button->text()));
                QVERIFY2(!SpokenName(button).isEmpty(), qPrintable(button->objectName()));
                if (!qobject_cast<QRadioButton *>(button))
                    QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
            }
        }
        QCOMPARE(ports.findChildren<QRadioButton *>().size(),
                 5); // four ports and the virtual radio
        for (QLabel *label : {about.lblTitle, about.lblVersion, about.lblDescription,
                              about.lblDisclaimer, about.picIcon})
            QVERIFY(!label->objectName().isEmpty());
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::FindableControlsTest)
#include "findable_controls_test.moc"
