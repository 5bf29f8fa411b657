// The frequency-area page's widgets: three grids with their text boxes, the band-combination
// and working-channel lists, and the read and write buttons.
#pragma once

#include "editors/freq_area_view.h"
#include "gui/cell_grid.h"
#include "gui/editor_box.h"
#include "gui/editor_page.h"
#include "link/prompt.h"

#include <array>
#include <optional>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class FreqAreaPage final : public QGroupBox, public EditorPage
{
    Q_OBJECT

public:
    FreqAreaPage(WindowState &state, Prompt &prompt, QWidget *parent = nullptr);

    void Paint() override;
    void CommitOpenEditor() override;

    std::array<CellGrid *, 3> Grids {};
    std::array<EditorBox *, 3> Editors {}; // Text1, Text2, Text6
    QComboBox *ComboSelFreqArea = nullptr;
    std::array<QComboBox *, 3> ComboChannelSel {};
    QPushButton *CommandRead = nullptr;
    QPushButton *CommandWrite = nullptr;

private:
    WindowState &state_;
    std::array<std::optional<FreqAreaEditor>, 3> editors_;
};

} // namespace nx5rb
