// The real port adapter when the device goes away: Qt reports a failed write from inside the write
// itself, and the link must not hear of it there.
#include "link/qt/qt_serial_port.h"

#include <array>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace nx5rb::test {
namespace {

TEST(QtSerialPortLoss, AFailedWriteIsReportedFromTheEventLoopOnly)
{
    int master = -1;
    int terminal = -1;
    std::array<char, 256> name {};
    ASSERT_EQ(openpty(&master, &terminal, name.data(), nullptr, nullptr), 0);
    QtSerialPort port;
    port.SetDevice(name.data());
    ASSERT_TRUE(port.SetPortOpen(true)) << port.ErrorString();
    ::close(terminal);

    int losses = 0;
    bool insideOutput = false;
    bool reportedInside = false;
    port.OnComm = [&](CommEvent event) {
        if (event != CommEvent::DeviceLost)
            return;
        ++losses;
        reportedInside = reportedInside || insideOutput;
    };
    ::close(master); // the adapter is pulled out
    const std::array<std::uint8_t, 1> end = {0x45};
    insideOutput = true;
    port.Output(end);
    insideOutput = false;
    EXPECT_FALSE(reportedInside);

    QDeadlineTimer deadline(2000);
    while (losses == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(losses, 1);
    EXPECT_FALSE(port.PortOpen());
}

} // namespace
} // namespace nx5rb::test
