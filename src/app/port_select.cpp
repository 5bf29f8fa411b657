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

std::string PortToRemember(const PortSelection &selection, const std::vector<SerialDevice> &devices)
{
    if (selection.IsVirtual())
        return std::string(kVirtualPort);
    const std::string &device = selection.OpenPath();
    for (const SerialDevice &known : devices)
        if (known.location == device || known.stableName == device)
            return known.stableName;
    return device;
}

RememberedPort PortFromRemembered(std::string_view remembered,
                                  const std::vector<SerialDevice> &devices,
                                  const std::function<bool(const std::string &)> &exists)
{
    RememberedPort start;
    const std::optional<PortSelection> parsed = ParsePortArgument(remembered);
    // A number from an older run, "virtual", or nothing at all: as they always were.
    if (!parsed || parsed->Device.empty() || parsed->IsVirtual()) {
        start.port = parsed.value_or(PortSelection());
        return start;
    }
    for (std::size_t index = 0; index < devices.size(); ++index) {
        const SerialDevice &device = devices[index];
        if (device.location != remembered && device.stableName != remembered)
            continue;
        if (index < std::size_t(kPortOptions)) {
            start.port.CommPortNumber = std::int16_t(index + 1);
            start.port.NumberedDevice = device.location;
        } else {
            start.port.Device = device.location;
        }
        return start;
    }
    if (exists && exists(parsed->Device)) {
        start.port = *parsed;
        return start;
    }
    start.missing = parsed->Device;
    return start;
}

namespace {
constexpr std::string_view kPort = "端口：";
constexpr std::string_view kMissing = "上次使用的端口 {} 不在本机，现用：";
} // namespace

std::string NumberedPortCaption(int number)
{
    return std::string(port_text::kNumbered) + std::to_string(number);
}

std::string PortStatusText(const PortSelection &selection, const std::string &missing)
{
    using namespace port_text;
    std::string port;
    if (selection.IsVirtual())
        port = kVirtual;
    else if (!selection.Device.empty())
        port = selection.Device;
    else
        port = NumberedPortCaption(selection.CommPortNumber) + "（"
            + (selection.NumberedDevice.empty() ? std::string(kNoDevice) : selection.NumberedDevice)
            + "）";
    if (missing.empty())
        return std::string(kPort) + port;
    std::string text(kMissing);
    text.replace(text.find("{}"), 2, missing);
    return text + port;
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
