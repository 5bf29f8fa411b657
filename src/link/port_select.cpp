#include "link/port_select.h"

#include <cctype>

namespace nx5rb {

std::string PortSelection::PortName() const
{
    if (!Device.empty())
        return Device;
    return "COM" + std::to_string(CommPortNumber);
}

std::optional<PortSelection> ParsePortArgument(std::string_view argument)
{
    if (argument.empty())
        return std::nullopt;
    PortSelection selection;
    if (argument.size() == 4) {
        std::string upper;
        for (char c : argument)
            upper += char(std::toupper(static_cast<unsigned char>(c)));
        if (upper.starts_with("COM") && upper[3] >= '1' && upper[3] <= '0' + kPortOptions) {
            selection.CommPortNumber = std::int16_t(upper[3] - '0');
            return selection;
        }
    }
    selection.Device = std::string(argument);
    return selection;
}

} // namespace nx5rb
