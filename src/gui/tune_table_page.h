// A band's tune page: the tune and squelch grids, the modulation settings and, on the pages of
// bands B and C, the maximum offset frequency.
#pragma once

#include "editors/modulation_view.h"
#include "gui/cell_grid.h"
#include "gui/editor_box.h"

#include <array>

#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class FrameTuneData final : public QGroupBox
{
    Q_OBJECT

public:
    FrameTuneData(WindowState &state, int band, QWidget *parent = nullptr);

    void Paint();

    CellGrid *MSHFlexGridTuneData = nullptr;
    CellGrid *MSHFlexGridSqlTune = nullptr;
    std::array<EditorBox *, kModulationFields> TextResponse {};
    EditorBox *TextPkValue = nullptr; // bands B and C only
    QPushButton *CommandRead = nullptr;
    QPushButton *CommandWrite = nullptr;

private:
    WindowState &state_;
    int band_;
};

} // namespace nx5rb
