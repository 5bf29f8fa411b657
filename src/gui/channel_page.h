// The channel page: the grid of the 128 memory channels.
#pragma once

#include "gui/cell_grid.h"

#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class FrameChannelInfo final : public QGroupBox
{
    Q_OBJECT

public:
    FrameChannelInfo(WindowState &state, QWidget *parent = nullptr);

    void Paint();

    CellGrid *MSHFlexGridChInfo = nullptr;
    QPushButton *CommandReadChannelInfo = nullptr;
    QPushButton *CommandWriteChannelInfo = nullptr;

private:
    WindowState &state_;
};

} // namespace nx5rb
