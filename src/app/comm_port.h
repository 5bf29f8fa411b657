// The window's serial port object: one port the link talks to, standing for a numbered port
// (COM1..COM4), a device path, or the built-in virtual radio.
#pragma once

#include "app/port_select.h"
#include "link/qt/qt_serial_port.h"
#include "link/serial_port.h"
#include "sim/virtual_port.h"

#include <string>
#include <vector>

#include <QObject>

namespace nx5rb {

// The serial ports of this machine in the order the numbered ports count them: on Windows COMn
// itself; elsewhere USB adapters (ttyUSB, ttyACM) first, then the rest, each in natural order.
std::vector<SerialDevice> NumberedSerialDevices();
// The device "COMn" stands for now, or empty when there is no such port.
std::string DeviceForPortNumber(int number);
// The selection with the device its COMn stands for now, looked up once (a device already found
// for it is kept).
PortSelection ResolvePortNumber(PortSelection selection);
// The port a window starts with from what it remembered, against this machine's devices now.
RememberedPort StartPortFromRemembered(const std::string &remembered);
// What the window remembers of the port in use.
std::string RememberPort(const PortSelection &selection);

class CommPort final : public QObject, public SerialPort
{
    Q_OBJECT

public:
    explicit CommPort(QObject *parent = nullptr);
    ~CommPort() override;

    // COMn (with the device it stood for when chosen), a device path, or "virtual". Takes
    // effect at the next open.
    void SetCommPort(const PortSelection &selection);
    std::string CommPortName() const { return selection_.PortName(); }
    // The virtual radio behind "virtual"; it keeps its memory for the run.
    VirtualPort &Virtual() { return virtual_; }

    bool PortOpen() const override;
    bool SetPortOpen(bool open) override;
    std::string ErrorString() const override;
    std::string OpenFailureHint() const override;
    void SetRThreshold(int bytes) override;
    int RThreshold() const override;
    void Output(std::span<const std::uint8_t> bytes) override;
    Bytes Input() override;
    int InBufferCount() const override;
    std::string Description() const override;

private:
    SerialPort &Current();
    const SerialPort &Current() const;
    void Forward(SerialPort &port);

    PortSelection selection_;
    std::string error_;
    QtSerialPort serial_;
    VirtualPort virtual_;
};

} // namespace nx5rb
