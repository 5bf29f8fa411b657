// The serial ports this machine has, as the system lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

// Where the system keeps a link per USB serial adapter, named after the adapter itself.
inline constexpr std::string_view kSerialByIdFolder = "/dev/serial/by-id";

struct SerialPortName
{
    std::string name; // "ttyUSB0", "COM3"
    std::string location; // what is opened: "/dev/ttyUSB0", "COM3"
    // The link in kSerialByIdFolder that points to the device, which stays the same whichever
    // socket the adapter is plugged into; the location again when there is none.
    std::string stableName;
};

std::vector<SerialPortName> SerialPortsOnThisMachine();

// The link in `folder` that resolves to the device at `location`, or `location` itself.
std::string StableSerialName(const std::string &location,
                             std::string_view folder = kSerialByIdFolder);

} // namespace nx5rb
