// The serial port as the link uses it. The window uses a real port (QSerialPort); tests, the
// command line and the window's "virtual" choice use the built-in virtual radio.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace nx5rb {

using Bytes = std::vector<std::uint8_t>;

// Why OnComm was raised.
enum class CommEvent {
    Receive = 2, // at least RThreshold bytes are waiting
    DeviceLost = 99, // the device went away or failed (cable pulled, adapter removed)
};

class SerialPort
{
public:
    virtual ~SerialPort() = default;

    virtual bool PortOpen() const = 0;
    // Opens ("9600,N,8,1", byte-array input) or closes the port. Opening may fail; the system's
    // reason is then in ErrorString().
    virtual bool SetPortOpen(bool open) = 0;
    virtual std::string ErrorString() const = 0;
    // What the user can do about the last failure to open, when the port knows (the rights to the
    // device); empty otherwise.
    virtual std::string OpenFailureHint() const { return {}; }
    // Number of waiting bytes that raises OnComm(Receive); 0 = no receive events.
    virtual void SetRThreshold(int bytes) = 0;
    virtual int RThreshold() const = 0;
    // Sends the bytes and returns at once.
    virtual void Output(std::span<const std::uint8_t> bytes) = 0;
    // Takes every waiting byte and empties the receive buffer.
    virtual Bytes Input() = 0;
    virtual int InBufferCount() const = 0;
    // A human-readable name of what the port stands for ("/dev/ttyUSB0", "virtual radio").
    virtual std::string Description() const = 0;

    // Raised on the window's thread, never from inside Output().
    std::function<void(CommEvent)> OnComm;
};

// One of the two window timers of the link.
class LinkTimer
{
public:
    virtual ~LinkTimer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;

    // Raised on every tick while enabled.
    std::function<void()> OnTimer;
};

} // namespace nx5rb
