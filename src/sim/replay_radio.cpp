#include "sim/replay_radio.h"

#include <algorithm>

namespace nx5rb {

namespace {

// Enough of a wrong frame to recognise it; a write request with its data is 20 bytes.
constexpr std::size_t kShownBytes = 24;

std::string Hex(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return "nothing";
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < std::min(bytes.size(), kShownBytes); ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    if (bytes.size() > kShownBytes)
        text += " ...";
    return text;
}

} // namespace

ReplayRadio::ReplayRadio(std::span<const TraceLine> trace)
{
    int opens = 0;
    // Bytes the tool received with none of its frames before them in the same stretch; they go
    // out with the answer to its next frame, which is as soon as a tool can see them.
    Bytes early;
    bool inStretch = false; // a frame of the tool since the last open, close or loss
    for (const TraceLine &line : trace) {
        lastLine_ = std::max(lastLine_, line.LineNumber);
        switch (line.Event) {
        case TraceEvent::Open:
            ++opens;
            inStretch = false;
            break;
        case TraceEvent::Close:
        case TraceEvent::Lost:
            inStretch = false;
            break;
        case TraceEvent::ToRadio:
            steps_.push_back({line.LineNumber, std::max(opens, 1), line.Data, std::move(early)});
            early.clear();
            inStretch = true;
            break;
        case TraceEvent::ToTool: {
            Bytes &to = inStretch ? steps_.back().answer : early;
            to.insert(to.end(), line.Data.begin(), line.Data.end());
            break;
        }
        }
    }
    transferCount_ = steps_.empty() ? 0 : steps_.back().transfer;
}

Bytes ReplayRadio::Receive(std::span<const std::uint8_t> fromTool)
{
    Bytes reply;
    if (!mismatch_.empty())
        return reply;
    for (std::size_t at = 0; at < fromTool.size(); ++at) {
        if (next_ == steps_.size()) {
            Fail(fromTool.subspan(at));
            break;
        }
        const Step &step = steps_[next_];
        if (fromTool[at] != step.frame[pending_.size()]) {
            Fail(fromTool.subspan(at));
            break;
        }
        pending_.push_back(fromTool[at]);
        if (pending_.size() == step.frame.size()) {
            reply.insert(reply.end(), step.answer.begin(), step.answer.end());
            pending_.clear();
            ++next_;
        }
    }
    return reply;
}

void ReplayRadio::Fail(std::span<const std::uint8_t> rest)
{
    Bytes got = pending_;
    got.insert(got.end(), rest.begin(), rest.end());
    if (next_ == steps_.size()) {
        mismatch_ = "the trace has no more frames of the tool after line "
            + std::to_string(lastLine_) + "; the tool sent " + Hex(got);
    } else {
        const Step &step = steps_[next_];
        mismatch_ = "trace line " + std::to_string(step.line) + " (transfer "
            + std::to_string(step.transfer) + ") expects " + Hex(step.frame) + "; the tool sent "
            + Hex(got);
    }
    if (OnMismatch)
        OnMismatch(mismatch_);
}

} // namespace nx5rb
