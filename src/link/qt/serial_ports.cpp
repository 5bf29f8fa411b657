#include "link/qt/serial_ports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace nx5rb {

std::vector<SerialPortName> SerialPortsOnThisMachine()
{
    std::vector<SerialPortName> ports;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        const std::string location = port.systemLocation().toStdString();
        ports.push_back({port.portName().toStdString(), location, StableSerialName(location)});
    }
    return ports;
}

std::string StableSerialName(const std::string &location, std::string_view folder)
{
    const QString device = QFileInfo(QString::fromStdString(location)).canonicalFilePath();
    if (device.isEmpty())
        return location;
    // Device nodes are "system" entries to QDir; the links are followed to them.
    const QDir links(QString::fromUtf8(folder.data(), qsizetype(folder.size())));
    for (const QFileInfo &link :
         links.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        if (link.isSymLink() && link.canonicalFilePath() == device)
            return link.absoluteFilePath().toStdString();
    return location;
}

} // namespace nx5rb
