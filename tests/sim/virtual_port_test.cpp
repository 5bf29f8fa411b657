// The port "virtual": what the link may rely on when it talks to the in-process radio.
#include "sim/virtual_port.h"

#include <functional>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace nx5rb {
namespace {

using namespace radio_frame;

// One application object for the whole test program; the port's timers need its event loop.
QCoreApplication &App()
{
    static int argc = 1;
    static char name[] = "sim_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    return *app;
}

// Runs the event loop until `done` holds or the deadline passes; true when it holds.
bool RunEventsUntil(const std::function<bool()> &done, int deadlineMs = 5000)
{
    App();
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(deadlineMs);
    while (!done() && deadline.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

const Bytes kEntryFrame(kEntry.begin(), kEntry.end());

Bytes ReadFrame(std::uint16_t address)
{
    return {kRead, std::uint8_t(address >> 8), std::uint8_t(address & 0xFF), kBlockLength};
}

class SimPort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App();
        port.OnComm = [this](CommEvent event) { events.push_back(event); };
        ASSERT_TRUE(port.SetPortOpen(true));
    }

    VirtualPort port;
    std::vector<CommEvent> events;
};

class SimPortByHand : public SimPort
{
protected:
    void SetUp() override
    {
        SimPort::SetUp();
        port.SetAutoDelivery(false);
    }
};

TEST_F(SimPortByHand, NothingArrivesInsideOutputEvenWithTheThresholdAlreadySet)
{
    port.SetRThreshold(3);
    port.Output(kEntryFrame);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(port.HasPending());

    EXPECT_TRUE(port.DeliverPending());
    EXPECT_EQ(events, std::vector<CommEvent> {CommEvent::Receive});
    const Bytes reply = port.Input();
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[1], kAck);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_FALSE(port.DeliverPending());
}

TEST_F(SimPortByHand, ReceiveEventOnlyOnceTheThresholdIsReached)
{
    struct Case
    {
        int threshold;
        bool event;
    };
    // The entry reply is 3 bytes, the band information 48.
    for (const Case c : {Case {0, false}, Case {1, true}, Case {3, true}, Case {4, false}}) {
        SCOPED_TRACE(c.threshold);
        VirtualPort fresh;
        std::vector<CommEvent> seen;
        fresh.OnComm = [&](CommEvent event) { seen.push_back(event); };
        fresh.SetAutoDelivery(false);
        ASSERT_TRUE(fresh.SetPortOpen(true));
        fresh.SetRThreshold(c.threshold);
        fresh.Output(kEntryFrame);
        fresh.DeliverPending();
        EXPECT_EQ(seen.size(), c.event ? 1u : 0u);
        EXPECT_EQ(fresh.InBufferCount(), 3);
    }
    // Bytes that wait are counted with the next arrival.
    port.SetRThreshold(52);
    port.Output(kEntryFrame);
    port.DeliverPending();
    port.Output(Bytes {kBandInfo});
    port.DeliverPending();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(port.InBufferCount(), 51);
    port.SetRThreshold(71);
    port.Output(ReadFrame(0xCF0));
    port.DeliverPending();
    EXPECT_EQ(events, std::vector<CommEvent> {CommEvent::Receive});
    EXPECT_EQ(port.Input().size(), 71u);
}

TEST_F(SimPortByHand, DeliverPendingLeavesRepliesToRequestsSentMeanwhileQueued)
{
    // A link that answers every receive event with its next request, as the real one does.
    port.SetRThreshold(3);
    port.OnComm = [this](CommEvent event) {
        events.push_back(event);
        port.Input();
        port.Output(Bytes {kBandInfo});
        port.SetRThreshold(48);
    };
    port.Output(kEntryFrame);
    EXPECT_TRUE(port.DeliverPending());
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_TRUE(port.HasPending());
    port.OnComm = nullptr;
    EXPECT_TRUE(port.DeliverPending());
    EXPECT_EQ(port.Input(),
              Bytes(port.Radio().Memory().begin() + mm::kFreqAreaBlock,
                    port.Radio().Memory().begin() + mm::kFreqAreaBlockEnd));
}

TEST_F(SimPortByHand, ClosedPortIgnoresOutputAndClosingDropsWhatWasUnderway)
{
    port.Output(kEntryFrame);
    port.SetPortOpen(false);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_FALSE(port.DeliverPending());
    EXPECT_EQ(port.InBufferCount(), 0);

    port.Output(Bytes {kEnd});
    EXPECT_EQ(port.Radio().FrameLog().size(), 1u); // only the entry reached the radio

    // Bytes already in the buffer go too.
    ASSERT_TRUE(port.SetPortOpen(true));
    port.Output(kEntryFrame);
    port.DeliverPending();
    EXPECT_GT(port.InBufferCount(), 0);
    port.SetPortOpen(false);
    EXPECT_EQ(port.InBufferCount(), 0);
}

TEST_F(SimPortByHand, RadioKeepsItsMemoryAcrossCloseAndOpen)
{
    Bytes write = {kWrite, 0x0F, 0xC0, kBlockLength};
    for (char c : std::string_view("PORT KEEPS DATA!"))
        write.push_back(std::uint8_t(c));
    port.Output(kEntryFrame);
    port.Output(write);
    port.Output(Bytes {kEnd});
    port.DeliverPending();
    port.SetPortOpen(false);

    ASSERT_TRUE(port.SetPortOpen(true));
    port.Input();
    port.Output(kEntryFrame);
    port.Output(ReadFrame(0xFC0));
    port.DeliverPending();
    const Bytes reply = port.Input();
    ASSERT_EQ(reply.size(), 3 + kDataReplyLength);
    EXPECT_TRUE(std::equal(write.begin() + 4, write.end(), reply.begin() + 3 + 4));
}

TEST_F(SimPortByHand, OpenFailsWithTheGivenReasonUntilCleared)
{
    port.SetPortOpen(false);
    port.SetOpenFails("device busy");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(port.SetPortOpen(true));
        EXPECT_FALSE(port.PortOpen());
        EXPECT_EQ(port.ErrorString(), "device busy");
    }
    port.Output(kEntryFrame);
    EXPECT_TRUE(port.Radio().FrameLog().empty());
    port.SetOpenFails("");
    EXPECT_TRUE(port.SetPortOpen(true));
    EXPECT_TRUE(port.ErrorString().empty());
}

TEST_F(SimPortByHand, DeviceLostClosesThePortAndRaisesItsEvent)
{
    port.Output(kEntryFrame);
    port.SimulateDeviceLost();
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(events, std::vector<CommEvent> {CommEvent::DeviceLost});
    EXPECT_FALSE(port.DeliverPending());
}

TEST_F(SimPort, AutoDeliveryArrivesFromTheEventLoop)
{
    port.SetRThreshold(3);
    port.Output(kEntryFrame);
    EXPECT_EQ(port.InBufferCount(), 0);
    ASSERT_TRUE(RunEventsUntil([&] { return !events.empty(); }));
    EXPECT_EQ(port.InBufferCount(), 3);
}

TEST_F(SimPort, SwitchingAutoDeliveryBackOnDeliversWhatWaited)
{
    port.SetAutoDelivery(false);
    port.SetRThreshold(3);
    port.Output(kEntryFrame);
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.empty());
    port.SetAutoDelivery(true);
    EXPECT_TRUE(RunEventsUntil([&] { return !events.empty(); }));
}

// A link driven by receive events alone: each reply brings the next request, from the entry to
// the end, through the event loop.
TEST_F(SimPort, AWholeReadRunsOnReceiveEvents)
{
    const std::vector<std::pair<Bytes, int>> script = {
        {Bytes {kBandInfo}, 48}, {ReadFrame(0xCF0), 20}, {Bytes {kAck}, 1}, {ReadFrame(0xD00), 20},
        {Bytes {kAck}, 1},       {ReadFrame(0xD10), 20}, {Bytes {kAck}, 1}, {Bytes {kEnd}, 0},
    };
    std::size_t step = 0;
    Bytes received;
    port.OnComm = [&](CommEvent) {
        const Bytes bytes = port.Input();
        received.insert(received.end(), bytes.begin(), bytes.end());
        port.Output(script[step].first);
        port.SetRThreshold(script[step].second);
        ++step;
    };
    port.SetRThreshold(3);
    port.Output(kEntryFrame);
    ASSERT_TRUE(RunEventsUntil([&] { return step == script.size(); }));
    EXPECT_EQ(received.size(), 3u + 48 + 3 * (20 + 1));
    EXPECT_EQ(port.Radio().SessionsCompleted(), 1);
    EXPECT_EQ(port.Radio().BlocksRead(), 3);
}

TEST_F(SimPort, PacedExchangeTakesAtLeastItsWireTime)
{
    // 9600 baud, ten bits a byte: the entry (7), its reply (3), the band request (1) and the
    // band information (48) cross the line one after the other.
    constexpr int kBaud = 9600;
    port.SetBaud(kBaud);
    port.SetRThreshold(3 + 48);
    QElapsedTimer clock;
    clock.start();
    port.Output(kEntryFrame);
    port.Output(Bytes {kBandInfo});
    ASSERT_TRUE(RunEventsUntil([&] { return !events.empty(); }));
    const qint64 elapsedNs = clock.nsecsElapsed();
    const qint64 wireNs = qint64(7 + 3 + 48) * 10 * 1'000'000'000 / kBaud;
    EXPECT_GE(elapsedNs, wireNs);

    // A single block exchange: 4 bytes out, 20 back.
    events.clear();
    port.Input();
    port.SetRThreshold(20);
    clock.restart();
    port.Output(ReadFrame(0xF00));
    ASSERT_TRUE(RunEventsUntil([&] { return !events.empty(); }));
    EXPECT_GE(clock.nsecsElapsed(), qint64(4 + 20) * 10 * 1'000'000'000 / kBaud);
}

} // namespace
} // namespace nx5rb
