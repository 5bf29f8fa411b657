// The channel page: the grid of the 128 memory channels with its editors (Text4 over the
// frequencies, Combo1[0..4] over the tones and switches), channel plans in and out as CSV, and the
// read and write buttons.
#pragma once

#include "app/file_dialog.h"
#include "editors/channel_editor.h"
#include "gui/cell_grid.h"
#include "gui/editor_box.h"
#include "gui/editor_page.h"
#include "link/prompt.h"

#include <array>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class ChannelPage final : public QGroupBox, public EditorPage
{
    Q_OBJECT

public:
    ChannelPage(WindowState &state, Prompt &prompt, FileChooser &files, QWidget *parent = nullptr);

    void Paint() override;
    void CommitOpenEditor() override;

    // "导入(&I)...": a channel plan (CSV) into the channel table.
    void CommandImport_Click();
    // "导出(&E)...": the channel table as CSV.
    void CommandExport_Click();

    CellGrid *ChannelGrid = nullptr; // MSHFlexGridChInfo
    EditorBox *FrequencyBox = nullptr; // Text4, over the two frequency columns
    // Combo1_0.., one over each list column of the channel table, in column order.
    std::vector<QComboBox *> ColumnLists;
    QPushButton *CommandReadChannelInfo = nullptr;
    QPushButton *CommandWriteChannelInfo = nullptr;
    QPushButton *CommandImport = nullptr;
    QPushButton *CommandExport = nullptr;
    QCheckBox *CheckReplaceAll = nullptr; // an import clears the channels the plan does not name

private:
    WindowState &state_;
    Prompt &prompt_;
    FileChooser &files_;
    ChannelGridEditor editor_;
};

} // namespace nx5rb
