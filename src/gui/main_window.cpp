#include "gui/main_window.h"

#include "app/file_commands.h"
#include "app/texts.h"
#include "gui/about_box.h"
#include "gui/app_icon.h"
#include "gui/cell_grid.h"
#include "gui/channel_page.h"
#include "gui/compare_dialog.h"
#include "gui/editor_page.h"
#include "gui/freq_area_page.h"
#include "gui/port_dialog.h"
#include "gui/power_on_page.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/settings_dialog.h"
#include "gui/tune_table_page.h"
#include "gui/undo_history.h"

#include <functional>
#include <map>

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nx5rb {

namespace {

constexpr int kKeyRole = Qt::UserRole;

// Enter, Return and Space on a tree node act as a click on it.
class TreeKeys final : public QObject
{
public:
    TreeKeys(QTreeWidget *tree, std::function<void(QTreeWidgetItem *)> click)
        : QObject(tree)
        , tree_(tree)
        , click_(std::move(click))
    {
        tree->installEventFilter(this);
    }

private:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
            return false;
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter
            && key->key() != Qt::Key_Space)
            return false;
        if (QTreeWidgetItem *node = tree_->currentItem())
            click_(node);
        return true;
    }

    QTreeWidget *tree_;
    std::function<void(QTreeWidgetItem *)> click_;
};
constexpr int kTreeWidthTwips = 2055;
constexpr int kTreeHeightTwips = 5175;

namespace bottom_text {
constexpr std::string_view kWriteAll = "写入全部";
constexpr std::string_view kReadAll = "读取全部";
constexpr std::string_view kApply = "应用(&A)";
constexpr std::string_view kOpen = "打开(&O)";
constexpr std::string_view kSave = "保存(&S)";
constexpr std::string_view kCompareFile = "比较文件(&D)...";
constexpr std::string_view kClose = "关闭(&C)";
constexpr std::string_view kAbort = "中止";
} // namespace bottom_text

} // namespace

namespace {

// The port the window starts with: the one asked for, else the device remembered where it is
// now, else COM1.
RememberedPort StartPort(const WindowSetup &setup, const ToolSettings &settings)
{
    if (setup.port)
        return {*setup.port, {}};
    return StartPortFromRemembered(settings.port);
}

} // namespace

MainWindow::MainWindow(const WindowSetup &setup, Prompt *prompt, FileChooser *files,
                       QWidget *parent)
    : QMainWindow(parent)
    , ownPrompt_(prompt ? nullptr : std::make_unique<QtPrompt>(this))
    , ownFiles_(files ? nullptr : std::make_unique<QtFileChooser>(this))
    , prompt_(prompt ? *prompt : *ownPrompt_)
    , files_(files ? *files : *ownFiles_)
    , settings_(LoadSettings(*OpenSettingsStore()))
{
    QtSessionSetup sessionSetup;
    const RememberedPort start = StartPort(setup, settings_);
    sessionSetup.port = start.port;
    // A remembered device that is not here is kept for the next run until a port is chosen.
    if (!start.missing.empty())
        keptPort_ = settings_.port;
    sessionSetup.files = &files_;
    sessionSetup.tracePath = setup.tracePath;
    session_ = std::make_unique<QtSession>(sessionSetup, prompt_);
    ApplySettings();
    if (ownFiles_)
        ownFiles_->Folder = settings_.lastFolder;

    setObjectName("Form1");
    setWindowTitle(Q(texts::kAppTitle));
    setWindowIcon(AppIcon());

    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *outer = new QVBoxLayout(central);
    auto *upper = new QHBoxLayout;
    outer->addLayout(upper, 1);

    auto *left = new QVBoxLayout;
    PageTree = new QTreeWidget(central);
    PageTree->setObjectName("TreeView1");
    PageTree->setAccessibleName(Q(kTreeNodes[0].text));
    PageTree->setHeaderHidden(true);
    PageTree->setMinimumHeight(TwipsToPixels(kTreeHeightTwips) / 2);
    BuildTree();
    left->addWidget(PageTree, 1);

    ProgressFrame = new QFrame(central);
    ProgressFrame->setObjectName("Frame1");
    ProgressFrame->setFrameShape(QFrame::StyledPanel);
    ProgressFrame->setFixedWidth(PageTree->width());
    auto *progress = new QVBoxLayout(ProgressFrame);
    ProgressLabel = new QLabel(ProgressFrame);
    ProgressLabel->setObjectName("Label2");
    ProgressBar = new QProgressBar(ProgressFrame);
    ProgressBar->setObjectName("ProgressBar1");
    ProgressBar->setAccessibleName(Q(link_text::kBusy));
    CommandAbort = MakeButton(ProgressFrame, bottom_text::kAbort, "CommandAbort");
    progress->addWidget(ProgressLabel);
    progress->addWidget(ProgressBar);
    progress->addWidget(CommandAbort);
    ProgressFrame->hide();
    left->addWidget(ProgressFrame);
    upper->addLayout(left);

    WindowState &state = State();
    pages_ = new QStackedWidget(central);
    pages_->setObjectName("Pages");
    FrameFreqAreaPage = new FreqAreaPage(state, prompt_, pages_);
    pages_->addWidget(FrameFreqAreaPage);
    editorPages_.push_back(FrameFreqAreaPage);
    for (int band = 0; band < mm::kBandCount; ++band) {
        TunePages[band] = new TuneTablePage(state, band, prompt_, files_, pages_);
        pages_->addWidget(TunePages[band]);
        editorPages_.push_back(TunePages[band]);
    }
    FrameOptionPage = new PowerOnPage(state, prompt_, pages_);
    pages_->addWidget(FrameOptionPage);
    editorPages_.push_back(FrameOptionPage);
    FrameChannelInfoPage = new ChannelPage(state, prompt_, files_, pages_);
    pages_->addWidget(FrameChannelInfoPage);
    editorPages_.push_back(FrameChannelInfoPage);
    upper->addWidget(pages_, 1);
    pageTitles_
        = {{FrameFreqAreaPage, Region::Area, {}},  {TunePages[0], Region::TuneA, {}},
           {TunePages[1], Region::TuneB, {}},      {TunePages[2], Region::TuneC, {}},
           {FrameOptionPage, Region::Message, {}}, {FrameChannelInfoPage, Region::Channels, {}}};
    for (PageTitle &page : pageTitles_)
        page.title = page.page->title();

    auto *bottom = new QHBoxLayout;
    bottom->addSpacing(PageTree->width());
    CommandWriteAll = MakeButton(central, bottom_text::kWriteAll, "CommandWriteAll");
    CommandReadAll = MakeButton(central, bottom_text::kReadAll, "CommandReadAll");
    CommandApp = MakeButton(central, bottom_text::kApply, "CommandApp");
    CommandOpen = MakeButton(central, bottom_text::kOpen, "CommandOpen");
    CommandSave = MakeButton(central, bottom_text::kSave, "CommandSave");
    CommandCompareFile = MakeButton(central, bottom_text::kCompareFile, "CommandCompareFile");
    CommandClose = MakeButton(central, bottom_text::kClose, "CommandClose");
    for (QPushButton *button : {CommandWriteAll, CommandReadAll, CommandApp, CommandOpen,
                                CommandSave, CommandCompareFile, CommandClose})
        bottom->addWidget(button);
    bottom->addStretch();
    outer->addLayout(bottom);

    const auto statusLabel = [this](const char *name, int stretch, bool separated = true) {
        if (separated && LabelPort) {
            auto *separator = new QFrame(this);
            separator->setFrameShape(QFrame::VLine);
            separator->setFrameShadow(QFrame::Sunken);
            statusBar()->addWidget(separator);
        }
        auto *label = new QLabel(this);
        label->setObjectName(name);
        statusBar()->addWidget(label, stretch);
        return label;
    };
    LabelPort = statusLabel("LabelPort", 0);
    LabelOrigin = statusLabel("LabelOrigin", 0);
    // The mark goes with the origin: the changes are not in that file.
    LabelUnsaved = statusLabel("LabelUnsaved", 0, false);
    LabelUnsaved->setText(Q(status_text::kUnsaved));
    LabelTransfer = statusLabel("LabelTransfer", 1);
    ShowPort(start.missing);
    settleLater_ = new QTimer(this);
    settleLater_->setSingleShot(true);
    settleLater_->setInterval(0);
    connect(settleLater_, &QTimer::timeout, this, &MainWindow::Settle);
    qApp->installEventFilter(this);

    history_ = new UndoHistory(
        Tool(), [this] { CommitOpenEditors(); }, [this] { PaintAll(); }, this);
    addActions({history_->UndoAction, history_->RedoAction});
    for (QTableView *grid : pages_->findChildren<QTableView *>()) {
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        grid->addActions({history_->UndoAction, history_->RedoAction});
    }

    Tool().OnProgress = [this] { ShowProgress(); };
    Tool().OnTransferFinished = [this](const TransferResult &result) {
        // What a read brought in or a write sent is where a new history starts.
        if (result.read || result.outcome == TransferOutcome::Completed)
            history_->Clear();
        PaintAll();
        // A write stopped part-way (Cancel, 中止, a lost device) left the radio half new.
        if (result.WrotePartly() && !Tool().Closing())
            prompt_.Show({PartialWriteText(result), std::string(prompt_title::kWarning),
                          PromptButtons::Ok, PromptIcon::Warning});
    };

    ShowPage(Page::FreqArea);
    PaintAll();
    if (!settings_.geometry.isEmpty())
        restoreGeometry(settings_.geometry);
    if (!session_->TraceFailure().empty())
        prompt_.Show(
            {"串口记录文件无法写入：\n" + setup.tracePath + "\n" + session_->TraceFailure(),
             std::string(texts::kErrorTitle), PromptButtons::Ok, PromptIcon::Warning});

    connect(PageTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { TreeView1_NodeClick(node); });
    new TreeKeys(PageTree, [this](QTreeWidgetItem *node) { TreeView1_NodeClick(node); });
    connect(CommandApp, &QPushButton::clicked, this, &MainWindow::CommandApp_Click);
    connect(CommandOpen, &QPushButton::clicked, this, &MainWindow::CommandOpen_Click);
    connect(CommandSave, &QPushButton::clicked, this, &MainWindow::CommandSave_Click);
    connect(CommandCompareFile, &QPushButton::clicked, this, &MainWindow::CommandCompareFile_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    connect(CommandAbort, &QPushButton::clicked, this, [this] { Tool().Abort(); });

    const std::map<QPushButton *, TransferCommand> commands = {
        {CommandReadAll, TransferCommand::ReadAll},
        {CommandWriteAll, TransferCommand::WriteAll},
        {FrameFreqAreaPage->CommandRead, TransferCommand::Read},
        {FrameFreqAreaPage->CommandWrite, TransferCommand::Write},
        {TunePages[0]->CommandRead, TransferCommand::ReadA},
        {TunePages[0]->CommandWrite, TransferCommand::WriteA},
        {TunePages[1]->CommandRead, TransferCommand::ReadB},
        {TunePages[1]->CommandWrite, TransferCommand::WriteB},
        {TunePages[2]->CommandRead, TransferCommand::ReadC},
        {TunePages[2]->CommandWrite, TransferCommand::WriteC},
        {FrameOptionPage->CommandReadOption, TransferCommand::ReadOption},
        {FrameOptionPage->CommandWriteOption, TransferCommand::WriteOption},
        {FrameChannelInfoPage->CommandReadChannelInfo, TransferCommand::ReadChannelInfo},
        {FrameChannelInfoPage->CommandWriteChannelInfo, TransferCommand::WriteChannelInfo},
    };
    for (const auto &[button, command] : commands)
        connect(button, &QPushButton::clicked, this,
                [this, command = command] { RunCommand(command); });
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    Tool().OnProgress = nullptr;
    Tool().OnTransferFinished = nullptr;
}

void MainWindow::BuildTree()
{
    for (const TreeNode &node : kTreeNodes) {
        QTreeWidgetItem *item = node.parent ? new QTreeWidgetItem(nodes_.at(*node.parent))
                                            : new QTreeWidgetItem(PageTree);
        item->setText(0, Q(node.text));
        item->setData(0, kKeyRole, Q(node.name));
        nodes_[node.key] = item;
    }
    // Wide enough for the deepest node: the design width is for a smaller font.
    PageTree->expandAll();
    PageTree->resizeColumnToContents(0);
    const int contentWidth = PageTree->columnWidth(0) + 2 * PageTree->frameWidth();
    PageTree->setFixedWidth(std::max(TwipsToPixels(kTreeWidthTwips), contentWidth));
    PageTree->collapseAll();
    PageTree->topLevelItem(0)->setExpanded(true);
}

void MainWindow::PaintAll()
{
    for (EditorPage *page : editorPages_)
        page->Paint();
    // The charts' legends name the file the data came from.
    const QString file = QString::fromStdString(Tool().CurrentFile());
    for (TuneTablePage *page : TunePages)
        page->SetCurrentFileName(file);
    Settle();
}

void MainWindow::Settle()
{
    history_->Record();
    ShowStatus();
}

void MainWindow::ShowStatus()
{
    const ImageOrigin &origin = Tool().Origin();
    LabelOrigin->setText(Q(status_text::kOrigin) + Q(origin.Text()));
    LabelOrigin->setToolTip(QString::fromStdString(origin.File()));
    LabelUnsaved->setVisible(State().UnsavedChanges());
    LabelTransfer->setText(Q(TransferStatusText(Tool().LastReport())));
    for (const PageTitle &page : pageTitles_)
        page.page->setTitle(origin.Loaded(page.region)
                                ? page.title
                                : page.title + Q(status_text::kPlaceholderNote));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusOut:
    case QEvent::InputMethod:
        settleLater_->start();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::CommitOpenEditors()
{
    for (EditorPage *page : editorPages_)
        page->CommitOpenEditor();
    history_->Record();
}

QWidget *MainWindow::CurrentPage() const
{
    return pages_->currentWidget();
}

void MainWindow::ShowPage(Page page)
{
    shown_ = page;
    switch (page) {
    case Page::FreqArea:
        pages_->setCurrentWidget(FrameFreqAreaPage);
        break;
    case Page::TuneA:
    case Page::TuneB:
    case Page::TuneC:
        pages_->setCurrentWidget(TunePages[int(page) - int(Page::TuneA)]);
        break;
    case Page::PowerOnMsg:
        pages_->setCurrentWidget(FrameOptionPage);
        break;
    case Page::ChannelInfo:
        pages_->setCurrentWidget(FrameChannelInfoPage);
        break;
    }
}

void MainWindow::TreeView1_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const std::optional<NodeKey> key
        = NodeKeyNamed(node->data(0, kKeyRole).toString().toStdString());
    if (!key)
        return;
    CommitOpenEditors();
    const NodeAction action = Tool().NodeClick(*key);
    PaintAll();
    switch (action.kind) {
    case NodeAction::ShowPage:
        ShowPage(action.page);
        break;
    case NodeAction::PortDialog:
        ShowPortDialog();
        break;
    case NodeAction::SettingsDialog:
        ShowSettings();
        break;
    case NodeAction::AboutBox:
        ShowAbout();
        break;
    case NodeAction::None:
        break;
    }
    // After 取消 or a dialog the highlight goes back to the node of the page that is shown.
    if (action.kind != NodeAction::ShowPage)
        PageTree->setCurrentItem(nodes_.at(NodeOfPage(shown_)));
}

void MainWindow::ShowPortDialog()
{
    PortSelection chosen = Ports();
    PortDialog dialog(chosen, DeviceForPortNumber, this);
    dialog.exec();
    if (chosen.PortChanged) {
        session_->ChoosePort(chosen);
        keptPort_.clear();
        ShowPort({});
    }
}

void MainWindow::ShowPort(const std::string &missing)
{
    LabelPort->setText(Q(PortStatusText(Ports(), missing)));
}

void MainWindow::ShowSettings()
{
    SettingsDialog dialog(settings_, backups_.Folder(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings_ = dialog.Chosen();
    ApplySettings();
}

void MainWindow::ApplySettings()
{
    SessionOptions &options = Tool().Options();
    options.backups = settings_.backups ? &backups_ : nullptr;
    options.guard = settings_.calibrationGuard ? CalibrationGuard::Ask : CalibrationGuard::Off;
    options.verify = settings_.verifyWrites;
    options.changedBlocksOnly = settings_.changedBlocksOnly;
}

ToolSettings MainWindow::Settings() const
{
    ToolSettings settings = settings_;
    settings.port = keptPort_.empty() ? RememberPort(session_->Ports()) : keptPort_;
    settings.geometry = saveGeometry();
    if (ownFiles_)
        settings.lastFolder = ownFiles_->Folder;
    return settings;
}

void MainWindow::ShowAbout()
{
    frmAbout about(prompt_, this);
    about.exec();
}

void MainWindow::CommandApp_Click()
{
    CommitOpenEditors();
    Tool().Apply();
    PaintAll();
}

void MainWindow::CommandOpen_Click()
{
    // A box still open would otherwise commit its text over the file's value later.
    CommitOpenEditors();
    PaintAll();
    if (Tool().CommandOpen() == OpenResult::Opened)
        history_->Clear();
    PaintAll();
}

void MainWindow::CommandSave_Click()
{
    CommitOpenEditors();
    Tool().CommandSave();
    PaintAll();
}

void MainWindow::CommandCompareFile_Click()
{
    using namespace file_dialog_text;
    CommitOpenEditors();
    if (Tool().Busy())
        return;
    const std::string path = FileDialog(files_, prompt_, "OPEN", kOpenTitle, "");
    if (path.empty())
        return;
    const auto other = ReadDocumentFromFile(path, prompt_);
    if (!other)
        return;
    CompareDialog dialog(DiffImages(State().Image, other->Image),
                         QFileInfo(QString::fromStdString(path)).fileName(), this);
    dialog.exec();
}

void MainWindow::RunCommand(TransferCommand command)
{
    CommitOpenEditors();
    Tool().RunTransfer(command);
    PaintAll();
}

void MainWindow::EnableCommands(bool enabled)
{
    // The pages (their editors and read and write buttons) and the bottom row but "关闭(&C)".
    for (QWidget *widget :
         std::initializer_list<QWidget *> {pages_, CommandWriteAll, CommandReadAll, CommandApp,
                                           CommandOpen, CommandSave, CommandCompareFile})
        widget->setEnabled(enabled);
    history_->Enable(enabled);
}

void MainWindow::ShowProgress()
{
    const LinkProgress &progress = LinkLayer().Progress();
    EnableCommands(!progress.visible);
    ProgressFrame->setVisible(progress.visible);
    ProgressLabel->setText(Q(progress.label));
    ProgressBar->setMaximum(std::max(progress.blocksTotal, 1));
    ProgressBar->setValue(progress.blocksDone);
    ProgressBar->setFormat(QString("%1/%2").arg(progress.blocksDone).arg(progress.blocksTotal));
    if (!progress.visible)
        PaintAll();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    CommitOpenEditors();
    if (!Tool().ConfirmClose()) {
        event->ignore();
        return;
    }
    SaveSettings(*OpenSettingsStore(), Settings());
    event->accept();
}

} // namespace nx5rb
