// A real serial port for the link: QSerialPort at 9600,N,8,1 with the receive threshold emulated
// on readyRead.
#pragma once

#include "link/serial_port.h"

#include <QObject>
#include <QSerialPort>

namespace nx5rb {

class QtSerialPort final : public QObject, public SerialPort
{
    Q_OBJECT

public:
    explicit QtSerialPort(QObject *parent = nullptr);

    // The device the next open uses ("/dev/ttyUSB0", "COM3").
    void SetDevice(const QString &device);
    QString Device() const { return device_; }

    bool PortOpen() const override;
    bool SetPortOpen(bool open) override;
    std::string ErrorString() const override;
    std::string OpenFailureHint() const override { return hint_; }
    void SetRThreshold(int bytes) override;
    int RThreshold() const override { return threshold_; }
    void Output(std::span<const std::uint8_t> bytes) override;
    Bytes Input() override;
    int InBufferCount() const override { return int(buffer_.size()); }
    std::string Description() const override { return device_.toStdString(); }

private:
    void ReadArrived();
    void ErrorOccurred(QSerialPort::SerialPortError error);
    void RaiseIfThresholdReached();

    QSerialPort port_;
    QString device_;
    QString error_;
    std::string hint_;
    Bytes buffer_;
    int threshold_ = 0;
    std::uint64_t opens_ = 0;
};

} // namespace nx5rb
