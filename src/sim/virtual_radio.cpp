#include "sim/virtual_radio.h"

#include <algorithm>

namespace nx5rb {

namespace {

using namespace radio_frame;

constexpr std::size_t kEntryLength = kEntry.size();

bool DigitAcceptsSession(std::uint8_t digit)
{
    return digit >= '0' && digit <= '2';
}

std::uint16_t FrameAddress(std::span<const std::uint8_t> frame)
{
    return std::uint16_t(frame[1] << 8 | frame[2]);
}

// A block lies inside memory when all 16 of its bytes do.
bool BlockInMemory(std::uint16_t address)
{
    return std::size_t(address) + mm::kBlockSize <= mm::kImageSize;
}

} // namespace

VirtualRadio::VirtualRadio(const RadioImage &memory)
    : memory_(memory)
{ }

Bytes VirtualRadio::Receive(std::span<const std::uint8_t> fromTool)
{
    Bytes reply;
    for (std::uint8_t byte : fromTool) {
        if (state_ == State::Idle) {
            FeedIdle(byte, reply);
        } else {
            pending_.push_back(byte);
            ParseSession(reply);
        }
    }
    return reply;
}

void VirtualRadio::FeedIdle(std::uint8_t byte, Bytes &reply)
{
    if (byte == std::uint8_t(kEntry[entryMatched_])) {
        if (++entryMatched_ < kEntryLength)
            return;
        entryMatched_ = 0;
        frameLog_.push_back({FrameKind::Entry, 0});
        AnswerEntry(reply);
        return;
    }
    // The entry string holds its first character only once, so a mismatch can at most restart it.
    entryMatched_ = byte == std::uint8_t(kEntry[0]) ? 1 : 0;
}

void VirtualRadio::ParseSession(Bytes &reply)
{
    while (state_ != State::Idle && !pending_.empty()) {
        const std::size_t length = FrameLengthAtFront();
        if (length == 0 || pending_.size() < length)
            return;
        const Bytes frame(pending_.begin(), pending_.begin() + std::ptrdiff_t(length));
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(length));
        HandleFrame(frame, reply);
    }
}

std::size_t VirtualRadio::FrameLengthAtFront() const
{
    switch (pending_.front()) {
    case kWrite:
        return kWriteLength;
    case kRead: {
        // The tool resends the entry string when it thinks the radio missed it; it starts with
        // "R" like a read request, but no read request carries "4" as its length.
        const std::size_t seen = std::min(pending_.size(), kEntryLength);
        if (std::equal(pending_.begin(), pending_.begin() + std::ptrdiff_t(seen), kEntry.begin()))
            return seen < kEntryLength ? 0 : kEntryLength;
        return kRequestLength;
    }
    default:
        return 1;
    }
}

void VirtualRadio::HandleFrame(std::span<const std::uint8_t> frame, Bytes &reply)
{
    const bool ackDue = state_ == State::AwaitAck;
    state_ = State::Session;
    const std::uint8_t kind = frame[0];

    if (kind == kRead && frame.size() == kEntryLength) {
        frameLog_.push_back({FrameKind::Entry, 0});
        EndSession(false);
        AnswerEntry(reply);
        return;
    }
    switch (kind) {
    case kBandInfo:
        frameLog_.push_back({FrameKind::BandInfo, 0});
        reply.insert(reply.end(), memory_.begin() + mm::kFreqAreaBlock,
                     memory_.begin() + mm::kFreqAreaBlockEnd);
        return;
    case kRead:
        frameLog_.push_back({FrameKind::Read, FrameAddress(frame)});
        if (frame[3] != kBlockLength) {
            reply.push_back(kNak);
            return;
        }
        AnswerRead(FrameAddress(frame), reply);
        return;
    case kWrite:
        frameLog_.push_back({FrameKind::Write, FrameAddress(frame)});
        AnswerWrite(FrameAddress(frame), frame.subspan(kRequestLength), reply);
        return;
    case kAck:
        frameLog_.push_back({FrameKind::Ack, 0});
        // Only the ACK that follows a data reply is answered; it closes the block.
        if (ackDue) {
            reply.push_back(kAck);
            BlockDone();
        }
        return;
    case kEnd:
        frameLog_.push_back({FrameKind::End, 0});
        EndSession(true);
        return;
    default:
        frameLog_.push_back({FrameKind::Unknown, 0});
        return;
    }
}

void VirtualRadio::AnswerEntry(Bytes &reply)
{
    if (Faults.NeverAnswerEntry)
        return;
    reply.insert(reply.end(), {kEntryReplyLead, kAck, Faults.EntryDigit});
    if (!DigitAcceptsSession(Faults.EntryDigit))
        return;
    state_ = State::Session;
    ++sessionNumber_;
    sessionReads_ = 0;
    sessionWrites_ = 0;
    sessionWritten_ = 0;
    sessionBlocks_ = 0;
}

void VirtualRadio::AnswerRead(std::uint16_t address, Bytes &reply)
{
    if (!BlockInMemory(address)) {
        reply.push_back(kNak);
        return;
    }
    ++sessionReads_;
    ++blocksRead_;
    std::uint16_t named = address;
    std::uint8_t lead = kWrite;
    if (FaultFires(Faults.BadReplyByte, sessionReads_))
        lead = kBadReplyLead;
    if (FaultFires(Faults.WrongAddress, sessionReads_))
        named = std::uint16_t((address + mm::kBlockSize) % mm::kImageSize);
    reply.insert(reply.end(),
                 {lead, std::uint8_t(named >> 8), std::uint8_t(named & 0xFF), kBlockLength});
    reply.insert(reply.end(), memory_.begin() + address,
                 memory_.begin() + address + mm::kBlockSize);
    state_ = State::AwaitAck;
}

void VirtualRadio::AnswerWrite(std::uint16_t address, std::span<const std::uint8_t> data,
                               Bytes &reply)
{
    if (!BlockInMemory(address)) {
        reply.push_back(kNak);
        return;
    }
    ++sessionWrites_;
    if (FaultFires(Faults.NakOnWrite, sessionWrites_)) {
        reply.push_back(kNak);
        return;
    }
    std::copy(data.begin(), data.end(), memory_.begin() + address);
    if (FaultFires(Faults.CorruptWrite, sessionWrites_)) {
        std::uint8_t &cell = memory_[address + kCorruptedByte];
        cell = std::uint8_t(cell - kCorruptionDrop);
    }
    ++blocksWritten_;
    ++sessionWritten_;
    reply.push_back(kAck);
    BlockDone();
}

void VirtualRadio::BlockDone()
{
    ++sessionBlocks_;
    if (FaultFires(Faults.StallAfter, sessionBlocks_))
        EndSession(false);
}

void VirtualRadio::EndSession(bool completed)
{
    if (state_ == State::Idle)
        return;
    if (completed)
        ++sessionsCompleted_;
    state_ = State::Idle;
    pending_.clear();
    entryMatched_ = 0;
    if (OnSessionEnd)
        OnSessionEnd({sessionNumber_, sessionReads_, sessionWritten_, completed});
}

bool VirtualRadio::FaultFires(int &knob, int count)
{
    if (knob <= 0 || count != knob)
        return false;
    if (!Faults.Repeat)
        knob = 0;
    return true;
}

} // namespace nx5rb
