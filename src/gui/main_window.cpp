#include "gui/main_window.h"

#include "app/file_commands.h"
#include "app/texts.h"
#include "gui/about_box.h"
#include "gui/cell_grid.h"
#include "gui/channel_page.h"
#include "gui/freq_area_page.h"
#include "gui/port_dialog.h"
#include "gui/power_on_page.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/tune_table_page.h"

#include <map>

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nx5rb {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTreeWidthTwips = 2055;
constexpr int kTreeHeightTwips = 5175;

namespace bottom_text {
constexpr std::string_view kWriteAll = "写入全部";
constexpr std::string_view kReadAll = "读取全部";
constexpr std::string_view kApply = "应用(&A)";
constexpr std::string_view kOpen = "打开(&O)";
constexpr std::string_view kSave = "保存(&S)";
constexpr std::string_view kClose = "关闭(&C)";
constexpr std::string_view kAbort = "中止";
} // namespace bottom_text

} // namespace

Form1::Form1(const PortSelection &port, Prompt *prompt, FileChooser *files, QWidget *parent)
    : QMainWindow(parent)
    , ports_(ResolvePortNumber(port))
    , ownPrompt_(prompt ? nullptr : std::make_unique<QtPrompt>(this))
    , ownFiles_(files ? nullptr : std::make_unique<QtFileChooser>(this))
    , prompt_(prompt ? *prompt : *ownPrompt_)
    , files_(files ? *files : *ownFiles_)
{
    setObjectName("Form1");
    setWindowTitle(Q(texts::kAppTitle));

    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *outer = new QVBoxLayout(central);
    auto *upper = new QHBoxLayout;
    outer->addLayout(upper, 1);

    auto *left = new QVBoxLayout;
    TreeView1 = new QTreeWidget(central);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setAccessibleName(Q(kTreeNodes[0].text));
    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumHeight(Twips(kTreeHeightTwips) / 2);
    BuildTree();
    left->addWidget(TreeView1, 1);

    Frame1 = new QFrame(central);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setFixedWidth(TreeView1->width());
    auto *progress = new QVBoxLayout(Frame1);
    Label2 = new QLabel(Frame1);
    Label2->setObjectName("Label2");
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setAccessibleName(Q(link_text::kBusy));
    CommandAbort = MakeButton(Frame1, bottom_text::kAbort, "CommandAbort");
    progress->addWidget(Label2);
    progress->addWidget(ProgressBar1);
    progress->addWidget(CommandAbort);
    Frame1->hide();
    left->addWidget(Frame1);
    upper->addLayout(left);

    pages_ = new QStackedWidget(central);
    pages_->setObjectName("Pages");
    FrameFreqAreaPage = new FrameFreqArea(state_, pages_);
    pages_->addWidget(FrameFreqAreaPage);
    for (int band = 0; band < mm::kBandCount; ++band) {
        FrameTuneDataPages[band] = new FrameTuneData(state_, band, pages_);
        pages_->addWidget(FrameTuneDataPages[band]);
    }
    FrameOptionPage = new FrameOption(state_, pages_);
    pages_->addWidget(FrameOptionPage);
    FrameChannelInfoPage = new FrameChannelInfo(state_, pages_);
    pages_->addWidget(FrameChannelInfoPage);
    upper->addWidget(pages_, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addSpacing(TreeView1->width());
    CommandWriteAll = MakeButton(central, bottom_text::kWriteAll, "CommandWriteAll");
    CommandReadAll = MakeButton(central, bottom_text::kReadAll, "CommandReadAll");
    CommandApp = MakeButton(central, bottom_text::kApply, "CommandApp");
    CommandOpen = MakeButton(central, bottom_text::kOpen, "CommandOpen");
    CommandSave = MakeButton(central, bottom_text::kSave, "CommandSave");
    CommandClose = MakeButton(central, bottom_text::kClose, "CommandClose");
    for (QPushButton *button :
         {CommandWriteAll, CommandReadAll, CommandApp, CommandOpen, CommandSave, CommandClose})
        bottom->addWidget(button);
    bottom->addStretch();
    outer->addLayout(bottom);

    // The link lives on the window's seams.
    link_ = std::make_unique<Link>(state_.Image, port_, timer1_, timer2_, prompt_);
    link_->OnProgress = [this] { ShowProgress(); };
    link_->OnFinished = [this](const TransferResult &result) {
        state_.FinishTransfer(result);
        PaintAll();
    };

    ShowPage(Page::FreqArea);
    PaintAll();
    // The port is configured but stays closed until a transfer opens it.
    port_.SetCommPort(ports_);

    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { TreeView1_NodeClick(node); });
    connect(CommandApp, &QPushButton::clicked, this, &Form1::CommandApp_Click);
    connect(CommandOpen, &QPushButton::clicked, this, &Form1::CommandOpen_Click);
    connect(CommandSave, &QPushButton::clicked, this, &Form1::CommandSave_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    connect(CommandAbort, &QPushButton::clicked, this, [this] { link_->Abandon(); });

    const std::map<QPushButton *, TransferCommand> commands = {
        {CommandReadAll, TransferCommand::ReadAll},
        {CommandWriteAll, TransferCommand::WriteAll},
        {FrameFreqAreaPage->CommandRead, TransferCommand::Read},
        {FrameFreqAreaPage->CommandWrite, TransferCommand::Write},
        {FrameTuneDataPages[0]->CommandRead, TransferCommand::ReadA},
        {FrameTuneDataPages[0]->CommandWrite, TransferCommand::WriteA},
        {FrameTuneDataPages[1]->CommandRead, TransferCommand::ReadB},
        {FrameTuneDataPages[1]->CommandWrite, TransferCommand::WriteB},
        {FrameTuneDataPages[2]->CommandRead, TransferCommand::ReadC},
        {FrameTuneDataPages[2]->CommandWrite, TransferCommand::WriteC},
        {FrameOptionPage->CommandReadOption, TransferCommand::ReadOption},
        {FrameOptionPage->CommandWriteOption, TransferCommand::WriteOption},
        {FrameChannelInfoPage->CommandReadChannelInfo, TransferCommand::ReadChannelInfo},
        {FrameChannelInfoPage->CommandWriteChannelInfo, TransferCommand::WriteChannelInfo},
    };
    for (const auto &[button, command] : commands)
        connect(button, &QPushButton::clicked, this,
                [this, command = command] { RunCommand(command); });
}

Form1::~Form1()
{
    link_->OnProgress = nullptr;
    link_->OnFinished = nullptr;
    link_->Abandon();
}

void Form1::BuildTree()
{
    std::map<std::string_view, QTreeWidgetItem *> byKey;
    for (const TreeNode &node : kTreeNodes) {
        QTreeWidgetItem *item = node.parentKey.empty()
            ? new QTreeWidgetItem(TreeView1)
            : new QTreeWidgetItem(byKey.at(node.parentKey));
        item->setText(0, Q(node.text));
        item->setData(0, kKeyRole, Q(node.key));
        byKey[node.key] = item;
    }
    // Wide enough for the deepest node: the design width is for a smaller font.
    TreeView1->expandAll();
    TreeView1->resizeColumnToContents(0);
    const int contentWidth = TreeView1->columnWidth(0) + 2 * TreeView1->frameWidth();
    TreeView1->setFixedWidth(std::max(Twips(kTreeWidthTwips), contentWidth));
    TreeView1->collapseAll();
    TreeView1->topLevelItem(0)->setExpanded(true);
}

void Form1::PaintAll()
{
    FrameFreqAreaPage->Paint();
    for (FrameTuneData *page : FrameTuneDataPages)
        page->Paint();
    FrameOptionPage->Paint();
    FrameChannelInfoPage->Paint();
}

QWidget *Form1::CurrentPage() const
{
    return pages_->currentWidget();
}

void Form1::ShowPage(Page page)
{
    switch (page) {
    case Page::FreqArea:
        pages_->setCurrentWidget(FrameFreqAreaPage);
        break;
    case Page::TuneA:
    case Page::TuneB:
    case Page::TuneC:
        pages_->setCurrentWidget(FrameTuneDataPages[int(page) - int(Page::TuneA)]);
        break;
    case Page::PowerOnMsg:
        pages_->setCurrentWidget(FrameOptionPage);
        break;
    case Page::ChannelInfo:
        pages_->setCurrentWidget(FrameChannelInfoPage);
        break;
    }
}

void Form1::CommitOpenEditors()
{
    FrameFreqAreaPage->CommitOpenEditor();
}

void Form1::TreeView1_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    CommitOpenEditors();
    const std::string text = node->text(0).toStdString();
    const std::string key = node->data(0, kKeyRole).toString().toStdString();
    // During a transfer the pages only show: pending edits are neither applied under it nor
    // dropped, and the port dialog may still stop it.
    const NodeAction action
        = Busy() ? NodeActionOf(text, key) : nx5rb::TreeView1_NodeClick(state_, prompt_, text, key);
    PaintAll();
    switch (action.kind) {
    case NodeAction::ShowPage:
        ShowPage(action.page);
        break;
    case NodeAction::PortDialog:
        ShowPortDialog();
        break;
    case NodeAction::AboutBox:
        ShowAbout();
        break;
    case NodeAction::None:
        break;
    }
}

void Form1::ShowPortDialog()
{
    CommportSel dialog(ports_, DeviceForPortNumber, this);
    dialog.exec();
    if (!ports_.PortChanged)
        return;
    // A transfer that was running is abandoned by closing the port.
    if (port_.PortOpen())
        link_->Abandon();
    port_.SetCommPort(ports_);
    ports_.PortChanged = false;
}

void Form1::ShowAbout()
{
    frmAbout about(prompt_, this);
    about.exec();
}

void Form1::CommandApp_Click()
{
    if (Busy())
        return;
    CommitOpenEditors();
    state_.Apply();
    PaintAll();
}

void Form1::CommandOpen_Click()
{
    using namespace file_dialog_text;
    if (Busy())
        return;
    // A box still open would otherwise commit its text over the file's value later.
    CommitOpenEditors();
    PaintAll();
    const std::string path = FileDialog(files_, prompt_, "OPEN", kOpenTitle, "");
    if (path.empty())
        return;
    OpenDataFile(state_, path, prompt_);
    PaintAll();
}

void Form1::CommandSave_Click()
{
    using namespace file_dialog_text;
    if (Busy())
        return;
    CommitOpenEditors();
    // Pending edits belong in the saved file, even if the dialog is then cancelled.
    state_.ApplyIfChanged();
    PaintAll();
    const std::string path = FileDialog(files_, prompt_, "Save", kSaveTitle, "");
    if (path.empty())
        return;
    SaveDataFile(state_, path, prompt_);
}

void Form1::RunCommand(TransferCommand command)
{
    if (Busy())
        return;
    CommitOpenEditors();
    RunTransferCommand(command, *link_, state_, pump_);
    PaintAll();
}

bool Form1::Busy() const
{
    return link_->Progress().visible || link_->LinkState != 0;
}

void Form1::EnableCommands(bool enabled)
{
    // The pages (their editors and read and write buttons) and the bottom row but "关闭(&C)".
    for (QWidget *widget : std::initializer_list<QWidget *> {
             pages_, CommandWriteAll, CommandReadAll, CommandApp, CommandOpen, CommandSave})
        widget->setEnabled(enabled);
}

void Form1::ShowProgress()
{
    const LinkProgress &progress = link_->Progress();
    EnableCommands(!progress.visible);
    Frame1->setVisible(progress.visible);
    Label2->setText(Q(progress.label));
    ProgressBar1->setMaximum(std::max(progress.blocksTotal, 1));
    ProgressBar1->setValue(progress.blocksDone);
    ProgressBar1->setFormat(QString("%1/%2").arg(progress.blocksDone).arg(progress.blocksTotal));
    if (!progress.visible)
        PaintAll();
}

void Form1::closeEvent(QCloseEvent *event)
{
    CommitOpenEditors();
    if (!ConfirmClose(state_, prompt_)) {
        event->ignore();
        return;
    }
    link_->Abandon();
    event->accept();
}

} // namespace nx5rb
