#include "link/qt/comm_port.h"

#include "link/port_select.h"

#include <algorithm>

#include <QSerialPortInfo>

namespace nx5rb {

namespace {

bool IsUsbAdapter(const QString &name)
{
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

// "COMn" with n in 1..4, or 0.
int PortNumber(const std::string &portName)
{
    const auto parsed = ParsePortArgument(portName);
    return parsed && parsed->Device.empty() ? parsed->CommPortNumber : 0;
}

} // namespace

std::vector<std::string> NumberedSerialPorts()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::stable_sort(ports.begin(), ports.end(),
                     [](const QSerialPortInfo &a, const QSerialPortInfo &b) {
                         const bool usbA = IsUsbAdapter(a.portName());
                         const bool usbB = IsUsbAdapter(b.portName());
                         if (usbA != usbB)
                             return usbA;
                         return a.portName() < b.portName();
                     });
    std::vector<std::string> devices;
    for (const QSerialPortInfo &port : ports)
        devices.push_back(port.systemLocation().toStdString());
    return devices;
}

std::string DeviceForPortNumber(int number)
{
#ifdef Q_OS_WIN
    return "COM" + std::to_string(number);
#else
    const std::vector<std::string> devices = NumberedSerialPorts();
    if (number < 1 || number > int(devices.size()))
        return {};
    return devices[std::size_t(number - 1)];
#endif
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

void CommPort::SetCommPort(const std::string &portName)
{
    if (PortOpen())
        SetPortOpen(false);
    portName_ = portName;
}

SerialPort &CommPort::Current()
{
    if (portName_ == kVirtualPort)
        return virtual_;
    return serial_;
}

const SerialPort &CommPort::Current() const
{
    if (portName_ == kVirtualPort)
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
    if (open && portName_ != kVirtualPort) {
        const int number = PortNumber(portName_);
        const std::string device = number ? DeviceForPortNumber(number) : portName_;
        if (device.empty()) {
            error_ = "COM" + std::to_string(number) + ": no such serial port on this computer";
            return false;
        }
        serial_.SetDevice(QString::fromStdString(device));
    }
    const bool ok = Current().SetPortOpen(open);
    if (!ok)
        error_ = Current().ErrorString();
    return ok;
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
    if (portName_ == kVirtualPort)
        return Current().Description();
    const int number = PortNumber(portName_);
    return number ? DeviceForPortNumber(number) : portName_;
}

} // namespace nx5rb
