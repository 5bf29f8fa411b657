#include "link/qt/serial_ports.h"

#include <QSerialPortInfo>

namespace nx5rb {

std::vector<SerialPortName> SerialPortsOnThisMachine()
{
    std::vector<SerialPortName> ports;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        ports.push_back({port.portName().toStdString(), port.systemLocation().toStdString()});
    return ports;
}

} // namespace nx5rb
