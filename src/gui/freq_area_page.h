// The frequency-area page's widgets: three grids with their floating boxes, the band-combination
// and working-channel lists, and the read and write buttons.
#pragma once

#include "gui/cell_grid.h"
#include "gui/editor_box.h"

#include <array>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class FrameFreqArea final : public QGroupBox
{
    Q_OBJECT

public:
    FrameFreqArea(WindowState &state, QWidget *parent = nullptr);

    // Shows what the core holds.
    void Paint();
    // Commits a box that is still open (before a close or a page change by other means).
    void CommitOpenEditor();

    std::array<CellGrid *, 3> Grids {};
    std::array<EditorBox *, 3> Editors {}; // Text1, Text2, Text6
    QComboBox *ComboSelFreqArea = nullptr;
    std::array<QComboBox *, 3> ComboChannelSel {};
    QPushButton *CommandRead = nullptr;
    QPushButton *CommandWrite = nullptr;

private:
    void OpenEditor(int band, int row, int col);
    void Commit(int band);

    WindowState &state_;
};

} // namespace nx5rb
