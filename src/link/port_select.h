// Which port the link uses: COM1..COM4 as the port dialog offers them, a device path, or the
// built-in virtual radio. Nothing is remembered between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nx5rb {

inline constexpr std::string_view kVirtualPort = "virtual";
inline constexpr int kPortOptions = 4;

struct PortSelection
{
    std::int16_t CommPortNumber = 1;
    bool PortChanged = false;
    // A device path or "virtual" chosen instead of a numbered port; empty for COMn.
    std::string Device;

    // What the port object is set to: "COMn", a device path or "virtual".
    std::string PortName() const;
};

// Reads a --port argument: "COM1".."COM4" (any case), "virtual", or a device path.
std::optional<PortSelection> ParsePortArgument(std::string_view argument);

} // namespace nx5rb
