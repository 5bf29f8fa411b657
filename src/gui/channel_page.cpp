#include "gui/channel_page.h"

#include "app/channel_plan_commands.h"
#include "app/window_state.h"
#include "editors/channel_columns.h"
#include "editors/channel_view.h"
#include "gui/qt_text.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace nx5rb {

namespace {

constexpr auto kColumnTwips = std::to_array({800, 1200, 1200, 1000, 1000, 1000, 1000, 1330});
static_assert(kColumnTwips.size() == kChannelCols, "a width for every column of the grid");
constexpr int kRowTwips = 300;
constexpr std::string_view kImport = "导入(&I)...";
constexpr std::string_view kExport = "导出(&E)...";
constexpr std::string_view kReplaceAll = "导入时清除计划未列出的信道";

} // namespace

ChannelPage::ChannelPage(WindowState &state, Prompt &prompt, FileChooser &files, QWidget *parent)
    : QGroupBox(Q(channel_text::kFrame), parent)
    , state_(state)
    , prompt_(prompt)
    , files_(files)
    , editor_(state, state, state.ChannelView)
{
    setObjectName("FrameChannelInfo");
    auto *layout = new QVBoxLayout(this);
    ChannelGrid = new CellGrid(
        state_.ChannelView.Grid, editor_, prompt_, [this] { Paint(); }, this);
    ChannelGrid->setObjectName("MSHFlexGridChInfo");
    ChannelGrid->setAccessibleName(Q(channel_text::kFrame));
    for (int col = 0; col < kChannelCols; ++col)
        ChannelGrid->SetColumnWidthTwips(col, kColumnTwips[col]);
    ChannelGrid->SetRowHeightTwips(kRowTwips);
    layout->addWidget(ChannelGrid, 1);

    FrequencyBox = new EditorBox(ChannelGrid->viewport());
    FrequencyBox->setObjectName("Text4");
    ChannelGrid->SetTextBox(FrequencyBox);
    for (const ChannelColumnRow &row : kChannelColumns) {
        if (row.editor != EditorKind::Combo)
            continue;
        auto *combo = new QComboBox(ChannelGrid->viewport());
        combo->setObjectName(QString("Combo1_%1").arg(ColumnLists.size()));
        combo->setAccessibleName(Q(row.caption));
        ChannelGrid->SetCombo(row.col, combo);
        ColumnLists.push_back(combo);
    }
    // "信道 12 接收频率": the channel as the grid numbers it, and the column.
    ChannelGrid->AccessibleName = [](CellRef cell) {
        return QString("信道 %1 ").arg(cell.row - 1)
            + Q(channel_text::kCaption[std::size_t(cell.col)]);
    };

    auto *buttons = ReadWriteButtons(this, "CommandReadChannelInfo", "CommandWriteChannelInfo",
                                     CommandReadChannelInfo, CommandWriteChannelInfo);
    CommandImport = MakeButton(this, kImport, "CommandImport");
    CommandExport = MakeButton(this, kExport, "CommandExport");
    CheckReplaceAll = new QCheckBox(Q(kReplaceAll), this);
    CheckReplaceAll->setObjectName("CheckReplaceAll");
    CheckReplaceAll->setAccessibleName(Q(kReplaceAll));
    buttons->insertWidget(0, CommandImport);
    buttons->insertWidget(1, CheckReplaceAll);
    buttons->insertWidget(2, CommandExport);
    layout->addLayout(buttons);
    connect(CommandImport, &QPushButton::clicked, this, &ChannelPage::CommandImport_Click);
    connect(CommandExport, &QPushButton::clicked, this, &ChannelPage::CommandExport_Click);
}

void ChannelPage::Paint()
{
    ChannelGrid->Paint();
}

void ChannelPage::CommitOpenEditor()
{
    ChannelGrid->CommitOpenEditor();
}

void ChannelPage::CommandImport_Click()
{
    CommitOpenEditor();
    const std::string path
        = FileDialog(files_, prompt_, "OPEN", plan_text::kImportTitle, "", FileKind::ChannelPlan);
    if (path.empty())
        return;
    ImportChannelPlanFile(state_, path, CheckReplaceAll->isChecked(), prompt_);
    Paint();
}

void ChannelPage::CommandExport_Click()
{
    CommitOpenEditor();
    const std::string path
        = FileDialog(files_, prompt_, "Save", plan_text::kExportTitle, "", FileKind::ChannelPlan);
    if (path.empty())
        return;
    ExportChannelPlanFile(state_, path, prompt_);
}

} // namespace nx5rb
