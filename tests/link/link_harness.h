// The link driven by hand: the virtual radio on the far end of an in-process port whose replies
// arrive only when the test pumps them, timers fired by the test, and scripted message boxes.
#pragma once

#include "app/session.h"
#include "app/transfer_commands.h"
#include "app/window_state.h"
#include "link/link_protocol.h"
#include "sim/virtual_port.h"
#include "support/fake_timer.h"
#include "support/manual_pump.h"
#include "support/recording_prompt.h"

#include <deque>
#include <functional>
#include <vector>

namespace nx5rb::test {

// Forwards to the virtual radio's port, records every frame the tool sends, and lets a test put
// bytes of its own on the line.
class TapPort final : public SerialPort
{
public:
    explicit TapPort(VirtualPort &radio)
        : radio_(radio)
    {
        radio_.OnComm = [this](CommEvent event) {
            if (OnComm)
                OnComm(event);
        };
    }

    bool PortOpen() const override { return radio_.PortOpen(); }
    bool SetPortOpen(bool open) override
    {
        ++(open ? opens : closes);
        injected_.clear();
        return radio_.SetPortOpen(open);
    }
    std::string ErrorString() const override { return radio_.ErrorString(); }
    std::string OpenFailureHint() const override { return radio_.OpenFailureHint(); }
    void SetRThreshold(int bytes) override { radio_.SetRThreshold(bytes); }
    int RThreshold() const override { return radio_.RThreshold(); }
    void Output(std::span<const std::uint8_t> bytes) override
    {
        if (radio_.PortOpen())
            sent.emplace_back(bytes.begin(), bytes.end());
        if (loseDeviceOnEnd && bytes.size() == 1 && bytes[0] == radio_frame::kEnd) {
            // As a real port does when the cable goes while it writes: it closes at once and
            // reports the loss later, from the event loop.
            radio_.SetPortOpen(false);
            return;
        }
        if (!silenced)
            radio_.Output(bytes);
    }
    Bytes Input() override
    {
        Bytes bytes = std::move(injected_);
        injected_.clear();
        const Bytes fromRadio = radio_.Input();
        bytes.insert(bytes.end(), fromRadio.begin(), fromRadio.end());
        return bytes;
    }
    int InBufferCount() const override { return int(injected_.size()) + radio_.InBufferCount(); }
    std::string Description() const override { return "tap"; }

    // Bytes that arrive as if the radio had sent them; raises the receive event like a port.
    void Inject(const Bytes &bytes)
    {
        injected_.insert(injected_.end(), bytes.begin(), bytes.end());
        if (RThreshold() > 0 && InBufferCount() >= RThreshold() && OnComm)
            OnComm(CommEvent::Receive);
    }

    std::vector<Bytes> sent; // frames the tool sent, in order
    bool silenced = false; // frames no longer reach the radio
    bool loseDeviceOnEnd = false; // the device goes away while the end frame is sent
    int opens = 0;
    int closes = 0;

private:
    VirtualPort &radio_;
    Bytes injected_;
};

// The tool's session on those seams, as the window and the command line hold one.
struct LinkHarness
{
    explicit LinkHarness(std::deque<PromptAnswer> answers = {})
        : prompt(std::move(answers))
    {
        radioPort.SetAutoDelivery(false);
    }

    // Lets the radio answer until it has nothing more to say; true when anything arrived.
    bool Pump()
    {
        bool any = false;
        while (radioPort.DeliverPending())
            any = true;
        return any;
    }

    // Clicks the command's button and lets the transfer run to its end.
    void Run(TransferCommand command)
    {
        session.RunTransfer(command);
        Pump();
    }

    // Lets the radio answer; when it has gone silent and the reply time-out is running, the
    // time-out fires, as a second of silence would.
    bool PumpOrTimeOut()
    {
        if (Pump())
            return true;
        if (!timeOutWhenSilent || !timer1.enabled)
            return false;
        timer1.Fire();
        return true;
    }

    bool timeOutWhenSilent = false; // a radio that stops answering is timed out while waiting
    VirtualPort radioPort;
    TapPort port {radioPort};
    FakeTimer timer1;
    FakeTimer timer2;
    RecordingPrompt prompt;
    ManualPump pump {[this] { return PumpOrTimeOut(); }};
    Session session {{port, timer1, timer2, prompt, pump}};
    WindowState &state = session.State();
    Link &link = session.LinkLayer();
};

} // namespace nx5rb::test
