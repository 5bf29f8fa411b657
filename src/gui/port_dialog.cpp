#include "gui/port_dialog.h"

#include "gui/qt_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace nx5rb {

namespace {
constexpr std::string_view kCaption = "端口选择";
constexpr std::string_view kVirtualDevice = "内置的虚拟电台，无需硬件";
} // namespace

PortDialog::PortDialog(PortSelection &selection, std::function<std::string(int)> describe,
                       QWidget *parent)
    : QDialog(parent)
    , selection_(selection)
    , chosen_(selection)
{
    setObjectName("CommportSel");
    setWindowTitle(Q(kCaption));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(Q(kCaption), this);
    frame->setObjectName("Frame1");
    auto *options = new QGridLayout(frame);

    auto addOption
        = [&](QRadioButton *button, const QString &device, int row, const PortSelection &choice) {
              auto *label = new QLabel(device, frame);
              label->setObjectName(button->objectName() + "Device");
              options->addWidget(button, row, 0);
              options->addWidget(label, row, 1);
              connect(button, &QRadioButton::clicked, this, [this, choice] { chosen_ = choice; });
              if (choice.PortName() == selection_.PortName())
                  button->setChecked(true);
          };

    for (int number = 1; number <= kPortOptions; ++number) {
        auto *button = new QRadioButton(Q(NumberedPortCaption(number)), frame);
        button->setObjectName(QString("OptPort%1").arg(number));
        const std::string device = describe ? describe(number) : std::string();
        PortSelection choice;
        choice.CommPortNumber = std::int16_t(number);
        // Resolved now, once: what the label shows is what a transfer opens.
        choice.NumberedDevice = device;
        addOption(button,
                  device.empty() ? QString("（%1）").arg(Q(port_text::kNoDevice))
                                 : QString::fromStdString(device),
                  number - 1, choice);
        OptPort[number - 1] = button;
    }
    OptPortVirtual = new QRadioButton(Q(port_text::kVirtual), frame);
    OptPortVirtual->setObjectName("OptPortVirtual");
    PortSelection virtualChoice = selection_;
    virtualChoice.Device = std::string(kVirtualPort);
    addOption(OptPortVirtual, Q(kVirtualDevice), kPortOptions, virtualChoice);
    if (!selection_.Device.empty() && selection_.Device != kVirtualPort) {
        OptPortDevice = new QRadioButton(QString::fromStdString(selection_.Device), frame);
        OptPortDevice->setObjectName("OptPortDevice");
        addOption(OptPortDevice, QString(), kPortOptions + 1, selection_);
    }
    layout->addWidget(frame);

    layout->addLayout(OkCancelButtons(this, OkButton, CancelButton));
    connect(OkButton, &QPushButton::clicked, this, &PortDialog::Command1_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PortDialog::Command1_Click()
{
    // Even the same port counts as a change: the window closes the port and sets it again.
    selection_.CommPortNumber = chosen_.CommPortNumber;
    selection_.Device = chosen_.Device;
    selection_.NumberedDevice = chosen_.NumberedDevice;
    selection_.PortChanged = true;
    accept();
}

} // namespace nx5rb
