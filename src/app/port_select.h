// Which port the link uses: COM1..COM4 as the port dialog offers them, a device path, or the
// built-in virtual radio; and what the window remembers of it between runs.
#pragma once

#include <cstdint>
#include <functional>
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

// A serial device of this machine: what is opened ("/dev/ttyUSB0", "COM3"), and the name that
// stays with it wherever it is plugged in (a USB adapter's /dev/serial/by-id/... link), which is
// the location again when it has none.
struct SerialDevice
{
    std::string location;
    std::string stableName;

    bool operator==(const SerialDevice &) const = default;
};

// What the window remembers of its port: "virtual", or the device itself by its stable name,
// never the number, which counts the devices present at the next start. `devices` are this
// machine's now; a numbered port that stands for no device leaves nothing (COM1 at the next start).
std::string PortToRemember(const PortSelection &selection,
                           const std::vector<SerialDevice> &devices);

// The port a start takes from what was remembered.
struct RememberedPort
{
    PortSelection port;
    // The remembered device when it is not on this machine now: the port is then COM1, as at a
    // first start, and the window says so.
    std::string missing;
};

// `devices` in the order the numbered ports count them. A remembered device is the COMn it is
// counted as now, or itself past the numbered ports or when no port lists it but `exists` finds it
// (a pseudo-terminal); "COMn" from an older run counts as before; nothing remembered is COM1.
RememberedPort PortFromRemembered(std::string_view remembered,
                                  const std::vector<SerialDevice> &devices,
                                  const std::function<bool(const std::string &)> &exists);

namespace port_text {
inline constexpr std::string_view kNumbered = "通信口"; // "通信口1" stands for COM1
inline constexpr std::string_view kVirtual = "虚拟电台";
inline constexpr std::string_view kNoDevice = "无此端口";
} // namespace port_text

// "通信口1" .. "通信口4": how the port dialog and the status line name COMn.
std::string NumberedPortCaption(int number);

// The port in use as the window's status line shows it: "端口：通信口1（/dev/ttyUSB0）", with the
// remembered device that was not found before it.
std::string PortStatusText(const PortSelection &selection, const std::string &missing = {});

// The order in which COM1, COM2, ... count this machine's serial ports (names such as
// "ttyUSB10"): USB adapters (ttyUSB, ttyACM) first, then the rest, each in natural order, so
// that ttyUSB2 comes before ttyUSB10.
std::vector<std::string> OrderForNumbering(std::vector<std::string> names);

} // namespace nx5rb
