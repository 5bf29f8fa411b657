// The radio's side of the programming link, over a memory of its own. The tool, the command line
// and the tests talk to it in place of a handheld on a serial cable: it enters programming mode on
// the entry string, answers band-information, block read and block write requests, and leaves on
// the end frame. Plain C++: the port adapters and the pseudo-terminal server feed it bytes.
#pragma once

#include "image/radio_image.h"
#include "link/frames.h"
#include "link/serial_port.h"
#include "sim/factory_memory.h"
#include "sim/radio_end.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace nx5rb {

// The protocol's frames, and what only the radio's end sends.
namespace radio_frame {
using namespace frame;
inline constexpr std::uint8_t kNak = 0x15;
// First byte of the entry reply; the tool does not look at it.
inline constexpr std::uint8_t kEntryReplyLead = 0x00;
// The digit a radio that accepts programming mode sends after its ACK.
inline constexpr std::uint8_t kEntryDigit = '1';
// What a faulty data reply carries where "W" belongs.
inline constexpr std::uint8_t kBadReplyLead = 0x00;
// Which data byte of a block a corrupted write changes, and by how much it falls.
inline constexpr std::size_t kCorruptedByte = 3;
inline constexpr std::uint8_t kCorruptionDrop = 2;
} // namespace radio_frame

// Misbehaviour on demand, for the tests of the link and for trying the tool's failure paths. A
// count n selects the n-th request of that kind within a session (0 = never). A fault fires once
// and then clears its own knob, so that a retried transfer succeeds, unless Repeat is set.
struct RadioFaults
{
    bool NeverAnswerEntry = false; // the entry string is swallowed without a reply
    // Digit sent in the entry reply; any digit but '0'..'2' means the radio refuses programming
    // mode (it answers, and keeps waiting for an entry string).
    std::uint8_t EntryDigit = radio_frame::kEntryDigit;
    int NakOnWrite = 0; // the n-th write request is refused with NAK and not stored
    int BadReplyByte = 0; // the n-th data reply starts with a byte other than "W"
    int WrongAddress = 0; // the n-th data reply names the next block instead of the one asked for
    int StallAfter = 0; // after the n-th block (read or write) the radio answers nothing more
    bool Repeat = false; // faults fire in every session instead of once
    // The n-th write request is stored with one data byte changed and acknowledged all the same,
    // as a radio with a failing memory cell would: only reading the block back can tell.
    int CorruptWrite = 0;

    bool operator==(const RadioFaults &) const = default;
};

enum class FrameKind { Entry, BandInfo, Read, Write, Ack, End, Unknown };

// One frame as the radio received it; Address is set for reads and writes.
struct FrameRecord
{
    FrameKind Kind = FrameKind::Unknown;
    std::uint16_t Address = 0;

    bool operator==(const FrameRecord &) const = default;
};

// How a session ended and what it moved.
struct SessionSummary
{
    int Number = 0; // 1 for the first session the radio entered
    int BlocksRead = 0;
    int BlocksWritten = 0;
    bool Completed = false; // ended by "E"; false when it stalled or a new entry string cut it off
};

class VirtualRadio final : public RadioEnd
{
public:
    explicit VirtualRadio(const RadioImage &memory = FactoryMemory());

    Bytes Receive(std::span<const std::uint8_t> fromTool) override;

    RadioImage &Memory() { return memory_; }
    const RadioImage &Memory() const { return memory_; }

    // In programming mode (between an accepted entry string and its end).
    bool InSession() const { return state_ != State::Idle; }

    int SessionsCompleted() const { return sessionsCompleted_; }
    int BlocksRead() const { return blocksRead_; }
    int BlocksWritten() const { return blocksWritten_; }
    const std::vector<FrameRecord> &FrameLog() const { return frameLog_; }
    void ClearFrameLog() { frameLog_.clear(); }

    RadioFaults Faults;

    // Called whenever a session ends, completed or not.
    std::function<void(const SessionSummary &)> OnSessionEnd;

private:
    enum class State {
        Idle, // waiting for the entry string
        Session, // programming mode, waiting for a request
        AwaitAck, // a data reply went out; the tool's ACK is due
    };

    void FeedIdle(std::uint8_t byte, Bytes &reply);
    // Parses as many complete frames from the front of pending_ as there are.
    void ParseSession(Bytes &reply);
    // Length of the frame at the front of pending_, 0 when more bytes are needed to tell.
    std::size_t FrameLengthAtFront() const;
    void HandleFrame(std::span<const std::uint8_t> frame, Bytes &reply);
    void AnswerEntry(Bytes &reply);
    void AnswerRead(std::uint16_t address, Bytes &reply);
    void AnswerWrite(std::uint16_t address, std::span<const std::uint8_t> data, Bytes &reply);
    void BlockDone();
    void EndSession(bool completed);
    // The knob's count is reached; clears it unless faults repeat.
    bool FaultFires(int &knob, int count);

    RadioImage memory_ {};
    State state_ = State::Idle;
    std::size_t entryMatched_ = 0; // entry-string characters seen so far while idle
    Bytes pending_; // session bytes not yet forming a whole frame

    int sessionNumber_ = 0;
    int sessionReads_ = 0; // data replies sent
    int sessionWrites_ = 0; // write requests, refused ones included
    int sessionWritten_ = 0; // blocks stored
    int sessionBlocks_ = 0; // block exchanges completed
    int sessionsCompleted_ = 0;
    int blocksRead_ = 0;
    int blocksWritten_ = 0;
    std::vector<FrameRecord> frameLog_;
};

} // namespace nx5rb
