#include "sim/virtual_port.h"

#include <algorithm>

namespace nx5rb {

namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;
constexpr qint64 kNsPerMs = 1'000'000;
// Start bit, eight data bits, stop bit.
constexpr qint64 kBitsPerByte = 10;
constexpr char kDescription[] = "virtual radio";
constexpr char kCablePulled[] = "the virtual radio's cable was pulled";

} // namespace

VirtualPort::VirtualPort(const RadioImage &memory)
    : radio_(memory)
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { DeliverDue(); });
}

VirtualPort::~VirtualPort() = default;

bool VirtualPort::SetPortOpen(bool open)
{
    if (!open) {
        open_ = false;
        Reset();
        return true;
    }
    if (open_)
        return true;
    if (!openFails_.empty()) {
        error_ = openFails_;
        return false;
    }
    error_.clear();
    Reset();
    open_ = true;
    return true;
}

std::string VirtualPort::Description() const
{
    return kDescription;
}

void VirtualPort::Output(std::span<const std::uint8_t> bytes)
{
    if (!open_ || bytes.empty())
        return;
    // The frame travels to the radio once the wire is free; the radio answers the moment the last
    // byte is in, and its answer is complete at the tool when its own last byte has crossed.
    const qint64 now = clock_.nsecsElapsed();
    const qint64 atRadio = std::max(now, toRadioFreeNs_) + WireNs(bytes.size());
    toRadioFreeNs_ = atRadio;
    Bytes answer = radio_.Receive(bytes);
    if (answer.empty())
        return;
    const qint64 atTool = std::max(atRadio, toToolFreeNs_) + WireNs(answer.size());
    toToolFreeNs_ = atTool;
    pending_.push_back({atTool, std::move(answer)});
    // Never delivered from here: the link sets its receive threshold only after Output returns.
    ArmTimer();
}

Bytes VirtualPort::Input()
{
    Bytes taken;
    taken.swap(buffer_);
    return taken;
}

void VirtualPort::SetAutoDelivery(bool on)
{
    autoDelivery_ = on;
    if (on)
        ArmTimer();
    else
        timer_.stop();
}

bool VirtualPort::DeliverPending()
{
    const std::uint64_t generation = generation_;
    bool arrived = false;
    for (std::size_t count = pending_.size(); count > 0 && !pending_.empty(); --count) {
        // A receive event that closes or reopens the port drops what was queued before.
        if (!open_ || generation_ != generation)
            break;
        Bytes bytes = std::move(pending_.front().bytes);
        pending_.pop_front();
        arrived = arrived || !bytes.empty();
        Arrive(std::move(bytes));
    }
    ArmTimer();
    return arrived;
}

void VirtualPort::SimulateDeviceLost()
{
    open_ = false;
    Reset();
    error_ = kCablePulled;
    if (OnComm)
        OnComm(CommEvent::DeviceLost);
}

void VirtualPort::Arrive(Bytes bytes)
{
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    if (threshold_ > 0 && InBufferCount() >= threshold_ && OnComm)
        OnComm(CommEvent::Receive);
}

void VirtualPort::DeliverDue()
{
    // Replies to requests sent from the receive events below wait for the next turn of the event
    // loop, so that other events still get through during a long transfer.
    const std::uint64_t generation = generation_;
    for (std::size_t count = pending_.size(); count > 0 && open_ && generation_ == generation
         && !pending_.empty() && pending_.front().dueNs <= clock_.nsecsElapsed();
         --count) {
        Bytes bytes = std::move(pending_.front().bytes);
        pending_.pop_front();
        Arrive(std::move(bytes));
    }
    ArmTimer();
}

void VirtualPort::ArmTimer()
{
    if (!autoDelivery_ || pending_.empty()) {
        timer_.stop();
        return;
    }
    const qint64 waitNs = std::max<qint64>(0, pending_.front().dueNs - clock_.nsecsElapsed());
    timer_.start(int((waitNs + kNsPerMs - 1) / kNsPerMs));
}

qint64 VirtualPort::WireNs(std::size_t bytes) const
{
    if (baud_ <= 0)
        return 0;
    return qint64(bytes) * kBitsPerByte * kNsPerSecond / baud_;
}

void VirtualPort::Reset()
{
    ++generation_;
    buffer_.clear();
    pending_.clear();
    timer_.stop();
    toRadioFreeNs_ = 0;
    toToolFreeNs_ = 0;
}

} // namespace nx5rb
