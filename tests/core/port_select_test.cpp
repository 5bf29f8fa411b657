// Which device each numbered port stands for, and which device a start takes from what the last
// run remembered.
#include "app/port_select.h"
#include "app/tool_settings.h"
#include "link/qt/serial_ports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace nx5rb {
namespace {

TEST(OrderForNumbering, UsbAdaptersFirstThenNaturalOrder)
{
    const std::vector<std::string> found
        = {"ttyS1", "ttyUSB10", "ttyS0", "ttyACM0", "ttyUSB2", "ttyS10", "ttyS2", "ttyUSB02x"};
    const std::vector<std::string> expected
        = {"ttyACM0", "ttyUSB2", "ttyUSB02x", "ttyUSB10", "ttyS0", "ttyS1", "ttyS2", "ttyS10"};
    EXPECT_EQ(OrderForNumbering(found), expected);
}

// Two USB adapters and a built-in port. An adapter keeps its by-id name wherever it is plugged
// in; its ttyUSB number is the kernel's count of what is plugged in.
const std::string kAdapterA = "/dev/serial/by-id/usb-FTDI_A-if00-port0";
const std::string kAdapterB = "/dev/serial/by-id/usb-Prolific_B-if00-port0";
SerialDevice A(int tty)
{
    return {"/dev/ttyUSB" + std::to_string(tty), kAdapterA};
}
SerialDevice B(int tty)
{
    return {"/dev/ttyUSB" + std::to_string(tty), kAdapterB};
}
const SerialDevice kBuiltIn {"/dev/ttyS0", "/dev/ttyS0"};

PortSelection Numbered(int number, const std::vector<SerialDevice> &devices)
{
    PortSelection port;
    port.CommPortNumber = std::int16_t(number);
    if (number <= int(devices.size()))
        port.NumberedDevice = devices[std::size_t(number - 1)].location;
    return port;
}

PortSelection DevicePort(const std::string &path)
{
    PortSelection port;
    port.Device = path;
    return port;
}

// A port chosen in one run, remembered through the settings file, and taken up by the next run
// after devices came and went: the same device, or COM1 with the remembered one named missing.
TEST(RememberedPort, TheNextRunFindsTheSameDeviceOrSaysItIsMissing)
{
    const struct
    {
        const char *what;
        std::vector<SerialDevice> before;
        PortSelection chosen;
        const char *stored; // what an older run left in the file instead, if anything
        std::vector<SerialDevice> after;
        PortSelection expected;
        std::string missing;
    } cases[] = {
        {"the other adapter unplugged: the chosen one is counted first now",
         {A(0), B(1), kBuiltIn},
         Numbered(2, {A(0), B(1)}),
         nullptr,
         {B(0), kBuiltIn},
         Numbered(1, {B(0)}),
         ""},
        {"another adapter plugged in before it: counted further on",
         {A(0)},
         Numbered(1, {A(0)}),
         nullptr,
         {B(0), A(1)},
         Numbered(2, {B(0), A(1)}),
         ""},
        {"unplugged: COM1 as at a first start, and said",
         {A(0), B(1)},
         Numbered(2, {A(0), B(1)}),
         nullptr,
         {A(0)},
         PortSelection(),
         kAdapterB},
        {"a port without a by-id name: its location",
         {kBuiltIn},
         Numbered(1, {kBuiltIn}),
         nullptr,
         {A(0), kBuiltIn},
         Numbered(2, {A(0), kBuiltIn}),
         ""},
        {"counted past the numbered ports: the device itself",
         {A(0)},
         Numbered(1, {A(0)}),
         nullptr,
         {B(0),
          {"/dev/ttyUSB1", "/dev/ttyUSB1"},
          {"/dev/ttyUSB2", "/dev/ttyUSB2"},
          {"/dev/ttyUSB3", "/dev/ttyUSB3"},
          A(4)},
         DevicePort("/dev/ttyUSB4"),
         ""},
        {"a device by path that no port lists but is there",
         {},
         DevicePort("/dev/pts/7"),
         nullptr,
         {A(0)},
         DevicePort("/dev/pts/7"),
         ""},
        {"a device by path that is gone",
         {},
         DevicePort("/dev/pts/9"),
         nullptr,
         {A(0)},
         PortSelection(),
         "/dev/pts/9"},
        {"the virtual radio",
         {A(0)},
         DevicePort("virtual"),
         nullptr,
         {},
         DevicePort("virtual"),
         ""},
        {"a numbered port that stood for nothing: COM1",
         {A(0)},
         Numbered(3, {A(0)}),
         nullptr,
         {A(0), B(1), kBuiltIn},
         PortSelection(),
         ""},
        {"an older run's number: counted as before",
         {},
         {},
         "COM3",
         {A(0), B(1), kBuiltIn},
         Numbered(3, {}),
         ""},
    };
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const auto &c : cases) {
        const QString path = folder.filePath("nx5rb.conf");
        QFile::remove(path);
        {
            QSettings store(path, QSettings::IniFormat);
            ToolSettings settings;
            settings.port = c.stored ? c.stored : PortToRemember(c.chosen, c.before);
            SaveSettings(store, settings);
        }
        const QSettings store(path, QSettings::IniFormat);
        const RememberedPort start
            = PortFromRemembered(LoadSettings(store).port, c.after,
                                 [](const std::string &device) { return device == "/dev/pts/7"; });
        EXPECT_EQ(start.port.CommPortNumber, c.expected.CommPortNumber) << c.what;
        EXPECT_EQ(start.port.Device, c.expected.Device) << c.what;
        EXPECT_EQ(start.port.NumberedDevice, c.expected.NumberedDevice) << c.what;
        EXPECT_EQ(start.missing, c.missing) << c.what;
    }
}

// The by-id links name the adapter behind a device; a device without one keeps its location.
TEST(RememberedPort, StableNameIsTheByIdLinkToTheDevice)
{
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    ASSERT_TRUE(QDir(dev.path()).mkpath("serial/by-id"));
    for (const char *node : {"ttyUSB0", "ttyUSB1", "ttyS0"}) {
        QFile file(dev.filePath(node));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString byId = dev.filePath("serial/by-id");
    ASSERT_TRUE(QFile::link("../../ttyUSB1", byId + "/usb-FTDI_A-if00-port0"));
    ASSERT_TRUE(QFile::link("../../ttyUSB0", byId + "/usb-Prolific_B-if00-port0"));
    const auto stable = [&](const char *node) {
        return StableSerialName(dev.filePath(node).toStdString(), byId.toStdString());
    };
    EXPECT_EQ(stable("ttyUSB1"), (byId + "/usb-FTDI_A-if00-port0").toStdString());
    EXPECT_EQ(stable("ttyUSB0"), (byId + "/usb-Prolific_B-if00-port0").toStdString());
    EXPECT_EQ(stable("ttyS0"), dev.filePath("ttyS0").toStdString());
    EXPECT_EQ(stable("ttyUSB9"), dev.filePath("ttyUSB9").toStdString()); // not there at all
}

} // namespace
} // namespace nx5rb
