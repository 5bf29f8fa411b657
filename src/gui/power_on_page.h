// The power-on message page ("MCU版本"): 56 one-character boxes in four lines.
#pragma once

#include "editors/power_on_editor.h"
#include "editors/power_on_view.h"
#include "gui/editor_binder.h"
#include "gui/editor_box.h"
#include "gui/editor_page.h"
#include "link/prompt.h"

#include <array>

#include <QGroupBox>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class PowerOnPage final : public QGroupBox, public EditorPage
{
    Q_OBJECT

public:
    PowerOnPage(WindowState &state, Prompt &prompt, QWidget *parent = nullptr);

    void Paint() override;
    void CommitOpenEditor() override;

    std::array<EditorBox *, kPowerOnBoxes> TextPowerOnMsg {};
    QPushButton *CommandReadOption = nullptr;
    QPushButton *CommandWriteOption = nullptr;

private:
    WindowState &state_;
    PowerOnEditor editor_;
    BoxEditorBinder *binder_ = nullptr;
};

} // namespace nx5rb
