// The window driven as a person drives it: shown offscreen and active, clicked on tree nodes and
// grid cells, typed into, with message boxes and file dialogs answered from a script.
#pragma once

#include "app/file_dialog.h"
#include "app/port_select.h"
#include "app/tool_settings.h"
#include "gui/cell_grid.h"
#include "gui/channel_page.h"
#include "gui/editor_box.h"
#include "gui/freq_area_page.h"
#include "gui/main_window.h"
#include "gui/power_on_page.h"
#include "gui/qt_text.h"
#include "gui/tune_table_page.h"
#include "link/prompt.h"
#include "support/recording_prompt.h"
#include "support/scripted_files.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

namespace nx5rb::test {

// Message boxes: every one is recorded; answers come from the script, OK once it runs out.
class ScriptedPrompt final : public Prompt
{
public:
    PromptAnswer Show(const PromptMessage &message) override { return recording_.Show(message); }

    // The texts shown, in order.
    QStringList Texts() const
    {
        QStringList texts;
        for (const std::string &text : recording_.Texts())
            texts << QString::fromStdString(text);
        return texts;
    }

    std::deque<PromptAnswer> &Answers = recording_.Answers;
    std::vector<PromptMessage> &Shown = recording_.Shown;

private:
    RecordingPrompt recording_;
};

inline PortSelection VirtualRadioPort()
{
    PortSelection port;
    port.Device = std::string(kVirtualPort);
    return port;
}

// What the window remembers, as a test starts it: no backups, no look at the radio before a
// write, no read-back after it, so that a test sees the buttons' own flows. A test of the safety
// net passes ToolSettings {} (everything on, as on a first run).
inline ToolSettings PlainSettings()
{
    ToolSettings settings;
    settings.backups = false;
    settings.calibrationGuard = false;
    settings.verifyWrites = false;
    return settings;
}

// The settings (and backups) of the tests go to a folder of their own, and every window starts
// from `settings`.
inline bool StoreSettings(const ToolSettings &settings)
{
    QStandardPaths::setTestModeEnabled(true);
    const std::unique_ptr<QSettings> store = OpenSettingsStore();
    store->clear();
    SaveSettings(*store, settings);
    return true;
}

// A started window, shown and active so that focus moves as it does for a person. The prompt and
// the file dialogs outlive the window that holds them.
class ShownWindow
{
public:
    explicit ShownWindow(const PortSelection &port = VirtualRadioPort(),
                         const ToolSettings &settings = PlainSettings())
        : stored_(StoreSettings(settings))
        , window(WindowSetup {port, {}}, &prompt, &files)
    {
        QApplication::setQuitOnLastWindowClosed(false);
        window.show();
        exposed_ = QTest::qWaitForWindowExposed(&window);
        window.activateWindow();
        active_ = QTest::qWaitForWindowActive(&window);
    }

    bool Ready() const { return exposed_ && active_; }

private:
    bool stored_;

public:
    ScriptedPrompt prompt;
    ScriptedFiles files;
    MainWindow window;

private:
    bool exposed_ = false;
    bool active_ = false;
};

inline QTreeWidgetItem *Node(MainWindow &window, const QString &key)
{
    for (QTreeWidgetItemIterator it(window.PageTree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

// A click on the node with this key, its branch opened first as a person would.
inline bool ClickNode(MainWindow &window, const QString &key)
{
    QTreeWidgetItem *node = Node(window, key);
    if (!node)
        return false;
    for (QTreeWidgetItem *parent = node->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    window.PageTree->scrollToItem(node);
    const QRect place = window.PageTree->visualItemRect(node);
    if (!place.isValid())
        return false;
    QTest::mouseClick(window.PageTree->viewport(), Qt::LeftButton, {}, place.center());
    return true;
}

inline void ClickCell(CellGrid *grid, int row, int col)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(row, col).center());
}

// A click on a caption of a grid: the corner, a column's or a row's header.
inline void ClickCaption(CellGrid *grid, int row, int col)
{
    QWidget *target = grid->findChild<QAbstractButton *>(); // the corner
    QPoint at = target ? target->rect().center() : QPoint();
    if (row == 0 && col > 0) {
        QHeaderView *header = grid->horizontalHeader();
        target = header->viewport();
        at = {header->sectionViewportPosition(col - 1) + header->sectionSize(col - 1) / 2,
              header->height() / 2};
    } else if (col == 0 && row > 0) {
        QHeaderView *header = grid->verticalHeader();
        target = header->viewport();
        at = {header->width() / 2,
              header->sectionViewportPosition(row - 1) + header->sectionSize(row - 1) / 2};
    }
    if (target)
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
}

inline void Click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Keys go to whatever holds the focus, as they do from a keyboard.
inline void Type(const QString &text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

inline void PressKey(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

inline void PressEnter()
{
    PressKey(Qt::Key_Return);
}

// A list choice by keyboard: the list takes the focus and the arrow keys move its selection,
// which is a choice by the user (unlike a selection the program makes).
inline void ChooseByKey(QComboBox *combo, Qt::Key key)
{
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, key);
}

// The transfer started by a click has ended (the link is idle again).
inline bool WaitForLinkIdle(MainWindow &window, int timeoutMs = 15000)
{
    return QTest::qWaitFor([&] { return window.LinkLayer().LinkState() == LinkPhase::Idle; },
                           timeoutMs);
}

inline QStringList RowTexts(const CellGrid *grid, int row, int firstCol, int lastCol)
{
    QStringList texts;
    for (int col = firstCol; col <= lastCol; ++col)
        texts << grid->CellText(row, col);
    return texts;
}

// One line of the power-on message as its 14 boxes show it.
inline QString MessageLine(const PowerOnPage *page, int line)
{
    QString text;
    for (int column = 0; column < mm::kPowerOnLineLength; ++column)
        text += page->TextPowerOnMsg[std::size_t(line * mm::kPowerOnLineLength + column)]->text();
    return text;
}

// The grid cell an open box covers.
inline bool BoxCovers(const EditorBox *box, const CellGrid *grid, int row, int col)
{
    return box->isVisible() && box->parentWidget() == grid->viewport()
        && grid->CellRect(row, col).contains(box->geometry().center());
}

// Acts on a modal dialog of type Dialog from inside its own event loop, as soon as it shows. A
// dialog that `act` leaves open is closed, so that a failing check cannot hang the test.
template<typename Dialog>
class ModalHandler
{
public:
    explicit ModalHandler(std::function<void(Dialog *)> act)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, act] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer_.stop();
            ++handled_;
            act(dialog);
            if (dialog->isVisible()) {
                leftOpen_ = true;
                dialog->reject();
            }
        });
        timer_.start();
    }

    int Handled() const { return handled_; }
    // `act` did not close the dialog; the handler did.
    bool LeftOpen() const { return leftOpen_; }

private:
    QTimer timer_;
    int handled_ = 0;
    bool leftOpen_ = false;
};

} // namespace nx5rb::test

namespace nx5rb {

// How a message box reads in a failed comparison.
inline char *toString(const PromptMessage &message)
{
    return QTest::toString(QString("\"%1\" titled \"%2\", buttons %3, icon %4")
                               .arg(QString::fromStdString(message.text))
                               .arg(QString::fromStdString(message.title))
                               .arg(int(message.buttons))
                               .arg(int(message.icon)));
}

} // namespace nx5rb

Q_DECLARE_METATYPE(nx5rb::PromptAnswer)
