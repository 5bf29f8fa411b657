// The power-on message page ("MCU版本"): 56 one-character boxes in four lines.
#pragma once

#include "editors/power_on_view.h"
#include "gui/editor_box.h"

#include <array>

#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class FrameOption final : public QGroupBox
{
    Q_OBJECT

public:
    FrameOption(WindowState &state, QWidget *parent = nullptr);

    void Paint();

    std::array<EditorBox *, kPowerOnBoxes> TextPowerOnMsg {};
    QPushButton *CommandReadOption = nullptr;
    QPushButton *CommandWriteOption = nullptr;

private:
    WindowState &state_;
};

} // namespace nx5rb
