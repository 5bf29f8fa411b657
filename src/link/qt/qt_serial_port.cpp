#include "link/qt/qt_serial_port.h"

#include <QFileInfo>
#include <QTimer>

namespace nx5rb {

namespace {

// The group a serial device belongs to on Debian.
constexpr char kSerialGroup[] = "dialout";

// Opening failed for lack of rights (not because another program holds the device): say which
// group the user must join, and how. Only a device that is a file (Unix) can lack rights this
// way; Windows names its ports ("COM3") and gives no file to look at, so it gets no hint.
std::string AccessHint(const QString &device)
{
    const QFileInfo info(device);
    if (!info.exists() || (info.isReadable() && info.isWritable()))
        return {};
    const QString group = info.group().isEmpty() ? QString(kSerialGroup) : info.group();
    return "当前用户无权使用 " + device.toStdString() + "：请把用户加入设备所属的用户组 "
        + group.toStdString() + "（sudo usermod -aG " + group.toStdString()
        + " $USER），然后注销并重新登录。";
}

} // namespace

QtSerialPort::QtSerialPort(QObject *parent)
    : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::ReadArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::ErrorOccurred);
}

void QtSerialPort::SetDevice(const QString &device)
{
    device_ = device;
}

bool QtSerialPort::PortOpen() const
{
    return port_.isOpen();
}

bool QtSerialPort::SetPortOpen(bool open)
{
    if (!open) {
        if (port_.isOpen()) {
            // Whatever is still queued (the end frame) goes to the driver before the close.
            port_.flush();
            port_.close();
        }
        buffer_.clear();
        return true;
    }
    if (port_.isOpen())
        return true;
    error_.clear();
    hint_.clear();
    if (device_.isEmpty()) {
        error_ = tr("no serial port is present");
        return false;
    }
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString();
        if (port_.error() == QSerialPort::PermissionError)
            hint_ = AccessHint(device_);
        return false;
    }
    const bool configured = port_.setBaudRate(QSerialPort::Baud9600)
        && port_.setDataBits(QSerialPort::Data8) && port_.setParity(QSerialPort::NoParity)
        && port_.setStopBits(QSerialPort::OneStop)
        && port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        error_ = port_.errorString();
        port_.close();
        return false;
    }
    port_.clear();
    buffer_.clear();
    ++opens_;
    return true;
}

std::string QtSerialPort::ErrorString() const
{
    return error_.toStdString();
}

void QtSerialPort::SetRThreshold(int bytes)
{
    threshold_ = bytes;
    // Bytes that arrived before the threshold was set still raise the event, from the loop.
    if (threshold_ > 0 && int(buffer_.size()) >= threshold_)
        QTimer::singleShot(0, this, &QtSerialPort::RaiseIfThresholdReached);
}

void QtSerialPort::Output(std::span<const std::uint8_t> bytes)
{
    if (!port_.isOpen())
        return;
    port_.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    port_.flush();
}

Bytes QtSerialPort::Input()
{
    Bytes taken;
    taken.swap(buffer_);
    return taken;
}

void QtSerialPort::ReadArrived()
{
    const QByteArray data = port_.readAll();
    buffer_.insert(buffer_.end(), data.begin(), data.end());
    RaiseIfThresholdReached();
}

void QtSerialPort::RaiseIfThresholdReached()
{
    if (threshold_ > 0 && int(buffer_.size()) >= threshold_ && OnComm)
        OnComm(CommEvent::Receive);
}

void QtSerialPort::ErrorOccurred(QSerialPort::SerialPortError error)
{
    // Errors while the port is open mean the device failed or went away (cable pulled).
    if (error == QSerialPort::NoError || !port_.isOpen())
        return;
    if (error == QSerialPort::TimeoutError)
        return;
    error_ = port_.errorString();
    port_.close();
    buffer_.clear();
    // Qt reports a failed write from inside write() or flush(), that is from inside Output(): the
    // link must hear of the loss from the event loop, between its own steps. A port opened again
    // meanwhile is another connection and hears nothing.
    const std::uint64_t opened = opens_;
    QTimer::singleShot(0, this, [this, opened] {
        if (opened == opens_ && OnComm)
            OnComm(CommEvent::DeviceLost);
    });
}

} // namespace nx5rb
