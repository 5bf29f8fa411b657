// The real port adapter on a pseudo-terminal: the line settings the terminal really holds once the
// tool has opened it, and closing a port whatever became of its device.
#include "app/comm_port.h"
#include "link/qt/qt_serial_port.h"

#include <array>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace nx5rb::test {
namespace {

// A pseudo-terminal whose far end the test holds.
struct Terminal
{
    Terminal()
    {
        std::array<char, 256> buffer {};
        if (openpty(&master, &slave, buffer.data(), nullptr, nullptr) == 0)
            name = buffer.data();
    }
    ~Terminal()
    {
        if (!name.empty()) {
            ::close(slave);
            ::close(master);
        }
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;

    int master = -1;
    int slave = -1;
    std::string name;
};

// Another program left the terminal at 4800 baud, 7 data bits, even parity, two stop bits, with
// hardware and software flow control: the tool must not inherit any of it.
TEST(SerialLine, TheToolOpensTheLineAt9600EightNoneOneWithoutFlowControl)
{
    Terminal terminal;
    ASSERT_FALSE(terminal.name.empty());
    termios left {};
    ASSERT_EQ(tcgetattr(terminal.slave, &left), 0);
    cfsetispeed(&left, B4800);
    cfsetospeed(&left, B4800);
    left.c_cflag = (left.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
    left.c_iflag |= IXON | IXOFF;
    ASSERT_EQ(tcsetattr(terminal.slave, TCSANOW, &left), 0);

    QtSerialPort port;
    port.SetDevice(QString::fromStdString(terminal.name));
    ASSERT_TRUE(port.SetPortOpen(true)) << port.ErrorString();
    termios line {};
    ASSERT_EQ(tcgetattr(terminal.slave, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));
    EXPECT_EQ(cfgetispeed(&line), speed_t(B9600));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(line.c_cflag & PARENB) << "parity";
    EXPECT_FALSE(line.c_cflag & CSTOPB) << "two stop bits";
    EXPECT_FALSE(line.c_cflag & CRTSCTS) << "hardware flow control";
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF | IXANY)) << "software flow control";
}

// Closing is never refused: not for a numbered port that stands for no device on this computer,
// nor for a port whose device is open.
TEST(SerialLine, ClosingAPortAlwaysSucceedsAndSaysNothing)
{
    Terminal terminal;
    ASSERT_FALSE(terminal.name.empty());
    PortSelection absent;
    absent.CommPortNumber = 3; // no device found for it
    PortSelection numbered;
    numbered.CommPortNumber = 1;
    numbered.NumberedDevice = terminal.name;
    for (const PortSelection &selection : {absent, numbered}) {
        SCOPED_TRACE(selection.PortName() + " " + selection.NumberedDevice);
        CommPort port;
        port.SetCommPort(selection);
        if (!selection.NumberedDevice.empty()) {
            ASSERT_TRUE(port.SetPortOpen(true)) << port.ErrorString();
        }
        EXPECT_TRUE(port.SetPortOpen(false));
        EXPECT_FALSE(port.PortOpen());
        EXPECT_EQ(port.ErrorString(), "");
    }
}

} // namespace
} // namespace nx5rb::test
