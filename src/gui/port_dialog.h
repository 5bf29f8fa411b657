// PortDialog: the port dialog. It records the choice; the main window applies it afterwards.
#pragma once

#include "app/port_select.h"

#include <array>
#include <functional>
#include <string>

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace nx5rb {

class PortDialog final : public QDialog
{
    Q_OBJECT

public:
    // `describe` names the device behind port number n (1..4), or returns empty for none.
    PortDialog(PortSelection &selection, std::function<std::string(int)> describe,
               QWidget *parent = nullptr);

    std::array<QRadioButton *, kPortOptions> OptPort {};
    QRadioButton *OptPortVirtual = nullptr;
    QRadioButton *OptPortDevice = nullptr; // a device given on the command line, if any
    QPushButton *OkButton = nullptr; // Command1, 确定
    QPushButton *CancelButton = nullptr; // Command2, 取消

private:
    void Command1_Click();

    PortSelection &selection_;
    PortSelection chosen_; // ChosenPort: the option last selected
};

} // namespace nx5rb
