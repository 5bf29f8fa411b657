// A radio that answers from a recorded trace: when the tool sends the next frame the trace shows it
// sending, the replay answers with the bytes the trace shows arriving after that frame, before the
// tool's next one. A tool that sends anything else is told where it left the trace, and the replay
// falls silent. Transfers (the stretches between the port's opens and closes) are served in order.
#pragma once

#include "link/serial_trace.h"
#include "sim/radio_end.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace nx5rb {

class ReplayRadio final : public RadioEnd
{
public:
    explicit ReplayRadio(std::span<const TraceLine> trace);

    Bytes Receive(std::span<const std::uint8_t> fromTool) override;

    // Where the tool left the trace: the trace line, the frame it expected and what came instead.
    // Empty while the tool keeps to the trace.
    const std::string &Mismatch() const { return mismatch_; }
    // Frames of the tool the trace holds, and how many of them have been met and answered.
    int FrameCount() const { return int(steps_.size()); }
    int FramesMatched() const { return int(next_); }
    // Transfers in the trace (at least 1 when it holds a frame of the tool).
    int TransferCount() const { return transferCount_; }

    // Raised once, when the tool leaves the trace, with the text of Mismatch().
    std::function<void(const std::string &)> OnMismatch;

private:
    struct Step
    {
        int line = 0; // of the tool's frame in the trace
        int transfer = 0; // from 1
        Bytes frame; // what the tool sent
        Bytes answer; // what arrived after it
    };

    void Fail(std::span<const std::uint8_t> got);

    std::vector<Step> steps_;
    int lastLine_ = 0;
    int transferCount_ = 0;
    std::size_t next_ = 0; // the step whose frame is being received
    Bytes pending_; // bytes of that frame received so far, all as the trace has them
    std::string mismatch_;
};

} // namespace nx5rb
