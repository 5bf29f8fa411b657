// The port "virtual": a serial port whose far end is a virtual radio in the same process. Replies
// arrive later, from the event loop, as they would over a cable; optionally paced at a baud rate.
#pragma once

#include "link/serial_port.h"
#include "sim/virtual_radio.h"

#include <cstdint>
#include <deque>
#include <string>

#include <QElapsedTimer>
#include <QTimer>

namespace nx5rb {

class VirtualPort : public SerialPort
{
public:
    explicit VirtualPort(const RadioImage &memory = FactoryMemory());
    ~VirtualPort() override;
    VirtualPort(const VirtualPort &) = delete;
    VirtualPort &operator=(const VirtualPort &) = delete;

    // --- SerialPort ---
    bool PortOpen() const override { return open_; }
    bool SetPortOpen(bool open) override;
    std::string ErrorString() const override { return error_; }
    void SetRThreshold(int bytes) override { threshold_ = bytes; }
    int RThreshold() const override { return threshold_; }
    void Output(std::span<const std::uint8_t> bytes) override;
    Bytes Input() override;
    int InBufferCount() const override { return int(buffer_.size()); }
    std::string Description() const override;

    // The radio at the far end; its memory lives as long as the port object.
    VirtualRadio &Radio() { return radio_; }
    const VirtualRadio &Radio() const { return radio_; }

    // Bits per second on the wire, ten bits per byte each way; 0 = no wire time at all.
    void SetBaud(int baud) { baud_ = baud; }
    int Baud() const { return baud_; }

    // On (the default): replies arrive from the Qt event loop when they are due. Off: they wait
    // for DeliverPending, for tests that drive the link by hand.
    void SetAutoDelivery(bool on);
    // Delivers every reply queued at the time of the call, due or not; replies to requests sent
    // from inside the receive events it raises stay queued for the next call. True when any
    // byte arrived.
    bool DeliverPending();
    // Replies sent by the radio that have not arrived yet.
    bool HasPending() const { return !pending_.empty(); }

    // A non-empty reason makes every following open fail with it, until it is cleared again; the
    // hint is what OpenFailureHint() then says.
    void SetOpenFails(std::string reason, std::string hint = {})
    {
        openFails_ = std::move(reason);
        openHint_ = std::move(hint);
    }
    std::string OpenFailureHint() const override { return openFails_.empty() ? "" : openHint_; }
    // The cable is pulled: the port closes and OnComm(DeviceLost) is raised.
    void SimulateDeviceLost();

private:
    struct Reply
    {
        qint64 dueNs = 0; // on clock_
        Bytes bytes;
    };

    void Arrive(Bytes bytes);
    void DeliverDue();
    void ArmTimer();
    qint64 WireNs(std::size_t bytes) const;
    void Reset();

    VirtualRadio radio_;
    bool open_ = false;
    std::string error_;
    std::string openFails_;
    std::string openHint_;
    int threshold_ = 0;
    Bytes buffer_;
    std::deque<Reply> pending_;
    std::uint64_t generation_ = 0; // counts closes, so that a delivery loop notices one

    int baud_ = 0;
    bool autoDelivery_ = true;
    QElapsedTimer clock_;
    qint64 toRadioFreeNs_ = 0; // when the wire towards the radio is free again
    qint64 toToolFreeNs_ = 0; // when the wire towards the tool is free again
    QTimer timer_;
};

} // namespace nx5rb
