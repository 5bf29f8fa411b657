#include "app/port_select.h"

#include <algorithm>
#include <cctype>

namespace nx5rb {

std::string PortSelection::PortName() const
{
    if (!Device.empty())
        return Device;
    return "COM" + std::to_string(CommPortNumber);
}

bool PortSelection::IsVirtual() const
{
    return Device == kVirtualPort;
}

namespace {

bool IsUsbAdapter(std::string_view name)
{
    return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Runs of digits compare by their value, everything else character by character.
bool NaturalLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t startA = i;
            const std::size_t startB = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            std::string_view numberA = a.substr(startA, i - startA);
            std::string_view numberB = b.substr(startB, j - startB);
            while (numberA.size() > 1 && numberA.front() == '0')
                numberA.remove_prefix(1);
            while (numberB.size() > 1 && numberB.front() == '0')
                numberB.remove_prefix(1);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

std::vector<std::string> OrderForNumbering(std::vector<std::string> names)
{
    std::stable_sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        const bool usbA = IsUsbAdapter(a);
        const bool usbB = IsUsbAdapter(b);
        if (usbA != usbB)
            return usbA;
        return NaturalLess(a, b);
    });
    return names;
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
