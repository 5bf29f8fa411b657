// Which port the link uses: COM1..COM4 as the port dialog offers them, a device path, or the
// built-in virtual radio. Nothing is remembered between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

inline constexpr std::string_view kVirtualPort = "virtual";
inline constexpr int kPortOptions = 4;

struct PortSelection
{
    std::int16_t CommPortNumber = 1;
    bool PortChanged = false;
    // A device path or "virtual" chosen instead of a numbered port; empty for COMn.
    std::string Device;
    // The device COMn stood for when it was chosen (as the port dialog showed it); empty when
    // this computer had no such port.
    std::string NumberedDevice;

    // What the port object is set to: "COMn", a device path or "virtual".
    std::string PortName() const;
    // The device a transfer opens: the chosen device, or the one COMn stood for.
    const std::string &OpenPath() const { return Device.empty() ? NumberedDevice : Device; }
    bool IsVirtual() const;
};

// Reads a --port argument: "COM1".."COM4" (any case), "virtual", or a device path.
std::optional<PortSelection> ParsePortArgument(std::string_view argument);

// The order in which COM1, COM2, ... count this machine's serial ports (names such as
// "ttyUSB10"): USB adapters (ttyUSB, ttyACM) first, then the rest, each in natural order, so
// that ttyUSB2 comes before ttyUSB10.
std::vector<std::string> OrderForNumbering(std::vector<std::string> names);

} // namespace nx5rb
