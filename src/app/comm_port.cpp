#include "app/comm_port.h"

#include "link/qt/serial_ports.h"

#include <map>

#include <QFileInfo>

namespace nx5rb {

std::vector<SerialDevice> NumberedSerialDevices()
{
    std::vector<std::string> names;
    std::map<std::string, SerialDevice> devices;
    for (const SerialPortName &port : SerialPortsOnThisMachine()) {
        names.push_back(port.name);
        devices[port.name] = {port.location, port.stableName};
    }
    std::vector<SerialDevice> numbered;
    for (const std::string &name : OrderForNumbering(names))
        numbered.push_back(devices[name]);
    return numbered;
}

std::string DeviceForPortNumber(int number)
{
#ifdef Q_OS_WIN
    return "COM" + std::to_string(number);
#else
    const std::vector<SerialDevice> devices = NumberedSerialDevices();
    if (number < 1 || number > int(devices.size()))
        return {};
    return devices[std::size_t(number - 1)].location;
#endif
}

PortSelection ResolvePortNumber(PortSelection selection)
{
    if (selection.Device.empty() && selection.NumberedDevice.empty())
        selection.NumberedDevice = DeviceForPortNumber(selection.CommPortNumber);
    return selection;
}

RememberedPort StartPortFromRemembered(const std::string &remembered)
{
    return PortFromRemembered(remembered, NumberedSerialDevices(), [](const std::string &path) {
        return QFileInfo::exists(QString::fromStdString(path));
    });
}

std::string RememberPort(const PortSelection &selection)
{
    return PortToRemember(selection, NumberedSerialDevices());
}

CommPort::CommPort(QObject *parent)
    : QObject(parent)
{
    Forward(serial_);
    Forward(virtual_);
}

CommPort::~CommPort() = default;

void CommPort::Forward(SerialPort &port)
{
    port.OnComm = [this](CommEvent event) {
        if (OnComm)
            OnComm(event);
    };
}

void CommPort::SetCommPort(const PortSelection &selection)
{
    if (PortOpen())
        SetPortOpen(false);
    selection_ = selection;
}

SerialPort &CommPort::Current()
{
    if (selection_.IsVirtual())
        return virtual_;
    return serial_;
}

const SerialPort &CommPort::Current() const
{
    if (selection_.IsVirtual())
        return virtual_;
    return serial_;
}

bool CommPort::PortOpen() const
{
    return Current().PortOpen();
}

bool CommPort::SetPortOpen(bool open)
{
    error_.clear();
    if (open && !selection_.IsVirtual()) {
        // The device the user saw beside COMn when choosing it, never a new look-up.
        const std::string &device = selection_.OpenPath();
        if (device.empty()) {
            error_ = selection_.PortName() + ": no such serial port on this computer";
            return false;
        }
        serial_.SetDevice(QString::fromStdString(device));
    }
    const bool ok = Current().SetPortOpen(open);
    if (!ok)
        error_ = Current().ErrorString();
    return ok;
}

std::string CommPort::OpenFailureHint() const
{
    return Current().OpenFailureHint();
}

std::string CommPort::ErrorString() const
{
    return error_.empty() ? Current().ErrorString() : error_;
}

void CommPort::SetRThreshold(int bytes)
{
    Current().SetRThreshold(bytes);
}

int CommPort::RThreshold() const
{
    return Current().RThreshold();
}

void CommPort::Output(std::span<const std::uint8_t> bytes)
{
    Current().Output(bytes);
}

Bytes CommPort::Input()
{
    return Current().Input();
}

int CommPort::InBufferCount() const
{
    return Current().InBufferCount();
}

std::string CommPort::Description() const
{
    if (selection_.IsVirtual())
        return Current().Description();
    return selection_.OpenPath().empty() ? selection_.PortName() : selection_.OpenPath();
}

} // namespace nx5rb
