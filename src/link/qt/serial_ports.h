// The serial ports this machine has, as the system lists them.
#pragma once

#include <string>
#include <vector>

namespace nx5rb {

struct SerialPortName
{
    std::string name; // "ttyUSB0", "COM3"
    std::string location; // what is opened: "/dev/ttyUSB0", "COM3"
};

std::vector<SerialPortName> SerialPortsOnThisMachine();

} // namespace nx5rb
