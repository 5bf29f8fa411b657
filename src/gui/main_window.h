// MainWindow: the main window. The navigation tree on the left, one page at a time on the right,
// the bottom row of buttons, and the progress frame of a running transfer. Widgets only show what
// the session holds and pass clicks and keys on to it.
#pragma once

#include "app/backups.h"
#include "app/file_dialog.h"
#include "app/navigation.h"
#include "app/port_select.h"
#include "app/qt_session.h"
#include "app/status_text.h"
#include "app/tool_settings.h"
#include "app/transfer_commands.h"
#include "link/prompt.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTimer;
class QTreeWidgetItem;

namespace nx5rb {

class EditorPage;
class QtFileChooser;
class ChannelPage;
class FreqAreaPage;
class PowerOnPage;
class TuneTablePage;
class UndoHistory;

// How the window starts.
struct WindowSetup
{
    // The port to start with; none for the one remembered from the last run (COM1 at first).
    std::optional<PortSelection> port;
    // A serial trace of every byte on the line goes to this file; none when empty.
    std::string tracePath;
};

class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // The window's message boxes and file dialogs go through `prompt` and `files`; without them
    // the window shows real ones. What the window remembers between runs is read from QSettings.
    explicit MainWindow(const WindowSetup &setup = {}, Prompt *prompt = nullptr,
                        FileChooser *files = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &Tool() { return session_->Get(); }
    WindowState &State() { return Tool().State(); }
    Link &LinkLayer() { return Tool().LinkLayer(); }
    // The serial port object (MSComm1).
    CommPort &Port() { return session_->Port(); }
    PortSelection &Ports() { return session_->Ports(); }

    // Every page painted again from the core.
    void PaintAll();
    // The page shown now.
    QWidget *CurrentPage() const;

    // The handlers of the bottom row and the tree, callable from tests as a click would.
    void TreeView1_NodeClick(QTreeWidgetItem *node);
    void CommandApp_Click();
    void CommandOpen_Click();
    void CommandSave_Click();
    // "比较文件(&D)...": the differences between the image and a chosen file.
    void CommandCompareFile_Click();
    void RunCommand(TransferCommand command);
    // What the window remembers, as it stands now.
    ToolSettings Settings() const;
    // Undo and redo of the document (Ctrl+Z, Ctrl+Y, the grids' context menus).
    UndoHistory &History() { return *history_; }

    QTreeWidget *PageTree = nullptr; // TreeView1
    FreqAreaPage *FrameFreqAreaPage = nullptr;
    std::array<TuneTablePage *, 3> TunePages {};
    PowerOnPage *FrameOptionPage = nullptr;
    ChannelPage *FrameChannelInfoPage = nullptr;
    QPushButton *CommandWriteAll = nullptr;
    QPushButton *CommandReadAll = nullptr;
    QPushButton *CommandApp = nullptr;
    QPushButton *CommandOpen = nullptr;
    QPushButton *CommandSave = nullptr;
    QPushButton *CommandCompareFile = nullptr;
    QPushButton *CommandClose = nullptr;
    QFrame *ProgressFrame = nullptr; // Frame1: progress of a running transfer
    QLabel *ProgressLabel = nullptr; // Label2
    QProgressBar *ProgressBar = nullptr; // ProgressBar1
    QPushButton *CommandAbort = nullptr;
    // The status line: which device the port stands for, where the image came from, a mark while
    // changes are not in a file, and how the last transfer ended.
    QLabel *LabelPort = nullptr;
    QLabel *LabelOrigin = nullptr;
    QLabel *LabelUnsaved = nullptr;
    QLabel *LabelTransfer = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Any key or click may have committed an edit: the status line looks again once it is done.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildTree();
    void ShowPage(Page page);
    void ShowPortDialog();
    // The port in use on the status line, after the remembered device that was not found.
    void ShowPort(const std::string &missing);
    // After a user action or a repaint: whatever it changed becomes one step of the undo history,
    // then the status shows the result.
    void Settle();
    // The status line but the port, and the note beside the title of a page whose region still
    // holds the start-up defaults.
    void ShowStatus();
    void ShowSettings();
    void ShowAbout();
    // The safety net's switches into the session.
    void ApplySettings();
    void ShowProgress();
    // Every page's open editor committed, as leaving it would, and what changed recorded.
    void CommitOpenEditors();
    void EnableCommands(bool enabled);

    std::unique_ptr<Prompt> ownPrompt_;
    std::unique_ptr<QtFileChooser> ownFiles_;
    Prompt &prompt_;
    FileChooser &files_;
    ToolSettings settings_;
    BackupStore backups_;
    std::unique_ptr<QtSession> session_;
    // The remembered port, kept as it was while its device is away and no port has been chosen.
    std::string keptPort_;
    QStackedWidget *pages_ = nullptr;
    Page shown_ = Page::FreqArea; // the page on the right
    std::map<NodeKey, QTreeWidgetItem *> nodes_; // the tree's items
    std::vector<EditorPage *> editorPages_;
    struct PageTitle
    {
        QGroupBox *page;
        Region region;
        QString title;
    };
    std::vector<PageTitle> pageTitles_;
    QTimer *settleLater_ = nullptr; // a user action settles once the event loop is back
    UndoHistory *history_ = nullptr;
};

} // namespace nx5rb
