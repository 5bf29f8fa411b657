#include "link/link_protocol.h"

#include "link/frames.h"

#include <algorithm>
#include <array>

namespace nx5rb {

namespace {

using namespace frame;

constexpr int kReplyTimeoutMs = 1000;
constexpr int kPollMs = 100;
constexpr int kWrongReplyLimit = 10;
constexpr int kTimeoutLimit = 3;

bool IsEntryDigit(std::uint8_t byte)
{
    return byte >= '0' && byte <= '2';
}

} // namespace

Link::Link(RadioImage &image, SerialPort &port, LinkTimer &timer1, LinkTimer &timer2,
           Prompt &prompt)
    : image_(&image)
    , port_(port)
    , timer1_(timer1)
    , timer2_(timer2)
    , prompt_(prompt)
{
    port_.OnComm = [this](CommEvent event) { MSComm1_OnComm(event); };
    timer1_.OnTimer = [this] { Timer1_Timer(); };
    timer2_.OnTimer = [this] { Timer2_Timer(); };
    timer1_.SetEnabled(false);
    timer2_.SetInterval(kPollMs);
    timer2_.SetEnabled(false);
}

Link::~Link()
{
    port_.OnComm = nullptr;
    timer1_.OnTimer = nullptr;
    timer2_.OnTimer = nullptr;
}

void Link::SetImage(RadioImage &image)
{
    if (LinkState == LinkPhase::Idle && !progress_.visible)
        image_ = &image;
}

void Link::BeginTransfer(std::string_view prompt, bool ask)
{
    LinkState = LinkPhase::Idle;
    if (prompt != link_text::kRetry) {
        ReadMode = false;
        Flags = TransferFlags();
        ExplicitBlocks.reset();
        if (port_.PortOpen())
            Abandon();
        received_.clear();
        acknowledged_.clear();
        bandInformation_.clear();
        startFlagsKept_ = false;
        planned_ = 0;
        if (ask
            && prompt_.Show({std::string(prompt), std::string(prompt_title::kWarning),
                             PromptButtons::OkCancel, PromptIcon::Warning})
                == PromptAnswer::Cancel) {
            outcome_ = TransferOutcome::NotStarted;
            return;
        }
        if (!port_.PortOpen() && !port_.SetPortOpen(true)) {
            lastPortError_ = port_.ErrorString();
            outcome_ = TransferOutcome::NotStarted;
            std::string text(link_text::kReselectPort);
            if (const std::string hint = port_.OpenFailureHint(); !hint.empty())
                text += "\n" + hint;
            prompt_.Show({text, std::string(link_text::kPortErrorTitle), PromptButtons::Ok,
                          PromptIcon::Error});
            return;
        }
        outcome_ = TransferOutcome::Running;
        ++transferNumber_;
        AwaitingReply = true;
        SetProgress(true, 0, 0);
    } else {
        AwaitingReply = true;
    }
    timer1_.SetInterval(kReplyTimeoutMs);
    timer1_.SetEnabled(true);
    timer2_.SetEnabled(true);
    LinkState = LinkPhase::EntrySent;
    port_.SetRThreshold(int(kEntryReplyLength));
    port_.Output(std::span(reinterpret_cast<const std::uint8_t *>(kEntry.data()), kEntry.size()));
}

void Link::MSComm1_OnComm(CommEvent event)
{
    if (event == CommEvent::DeviceLost) {
        DeviceLost();
        return;
    }
    if (event != CommEvent::Receive)
        return;
    if (PromptShown) {
        // The user is being asked what to do; a late reply must not carry the transfer on behind
        // the question.
        port_.Input();
        return;
    }
    AwaitingReply = false;
    timer1_.SetEnabled(false);
    const Bytes bytes = port_.Input();

    switch (LinkState) {
    case LinkPhase::EntrySent:
        if (bytes.size() >= kEntryReplyLength && bytes[1] == kAck && IsEntryDigit(bytes[2])) {
            timer2_.SetEnabled(false);
            HandshakeStep();
        } else {
            HandshakeFailure(kWrongReplyLimit, link_text::kCheckConnection);
        }
        break;
    case LinkPhase::BandInfoAsked:
        if (bytes.size() < kBandInfoLength) {
            TransferFailure();
            break;
        }
        bandInformation_.assign(bytes.begin(), bytes.begin() + kBandInfoLength);
        // An explicit list takes only the blocks it names: the band information of a read-back
        // is the radio's, and the blocks it checks must be judged by the limits that were written.
        if (ReadMode && !ExplicitBlocks)
            received_.emplace_back(
                mm::kFreqAreaBlock,
                std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + kBandInfoLength));
        NextBlockStep();
        break;
    case LinkPhase::AwaitingAck:
        if (!bytes.empty() && bytes[0] == kAck) {
            if (!ReadMode)
                acknowledged_.push_back(requestedBlock_);
            SetProgress(true, progress_.blocksDone + 1, progress_.blocksTotal);
            NextBlockStep();
        } else {
            TransferFailure();
        }
        break;
    case LinkPhase::ReadRequested: {
        // Only the block that was asked for is taken; anything else means the line is not
        // trustworthy and the user decides whether to try again.
        const bool wellFormed = bytes.size() >= kDataReplyLength && bytes[0] == kWrite
            && std::uint16_t(bytes[1] << 8 | bytes[2]) == requestedBlock_;
        if (!wellFormed) {
            TransferFailure();
            break;
        }
        received_.emplace_back(requestedBlock_,
                               std::vector<std::uint8_t>(bytes.begin() + kRequestLength,
                                                         bytes.begin() + kDataReplyLength));
        LinkState = LinkPhase::AwaitingAck;
        const std::array<std::uint8_t, 1> ack = {kAck};
        Send(ack, int(kAckLength));
        break;
    }
    default:
        break;
    }
}

void Link::HandshakeStep()
{
    LinkState = LinkPhase::BandInfoAsked;
    if (!startFlagsKept_) {
        startFlags_ = Flags;
        startFlagsKept_ = true;
    }
    const AddressRange range = FirstRange(Flags);
    BlockAddress = range.start;
    RangeEnd = range.end;
    nextExplicit_ = 0;
    planned_ = int(ExplicitBlocks ? ExplicitBlocks->size() : PlanBlocks(Flags, ReadMode).size());
    SetProgress(true, 0, planned_);
    const std::array<std::uint8_t, 1> request = {kBandInfo};
    Send(request, int(kBandInfoLength));
}

void Link::NextBlockStep()
{
    if (ExplicitBlocks) {
        if (nextExplicit_ == ExplicitBlocks->size()) {
            if (ReadMode)
                CompleteRead();
            else
                CompleteWrite();
            return;
        }
        SendBlockRequest((*ExplicitBlocks)[nextExplicit_++]);
        return;
    }
    if (BlockAddress >= RangeEnd) {
        const auto next = NextRange(Flags, ReadMode);
        if (!next) {
            if (ReadMode)
                CompleteRead();
            else
                CompleteWrite();
            return;
        }
        BlockAddress = next->start;
        RangeEnd = next->end;
    }
    BlockAddress = ApplySkip(BlockAddress, Flags, ReadMode);
    SendBlockRequest(BlockAddress);
    BlockAddress = std::uint16_t(BlockAddress + mm::kBlockSize);
}

void Link::SendBlockRequest(std::uint16_t address)
{
    requestedBlock_ = address;
    const std::uint8_t high = std::uint8_t(address >> 8);
    const std::uint8_t low = std::uint8_t(address & 0xFF);
    if (ReadMode) {
        LinkState = LinkPhase::ReadRequested;
        const std::array<std::uint8_t, 4> request = {kRead, high, low, kBlockLength};
        Send(request, int(kDataReplyLength));
    } else {
        LinkState = LinkPhase::AwaitingAck;
        std::array<std::uint8_t, kWriteLength> request = {kWrite, high, low, kBlockLength};
        std::copy_n(image_->begin() + address, mm::kBlockSize, request.begin() + kRequestLength);
        Send(request, int(kAckLength));
    }
}

void Link::Send(std::span<const std::uint8_t> bytes, int threshold)
{
    port_.Output(bytes);
    port_.SetRThreshold(threshold);
    // After the handshake every reply is awaited for at most a second.
    timer1_.SetInterval(kReplyTimeoutMs);
    timer1_.SetEnabled(true);
}

std::optional<PromptAnswer> Link::AskConnection(std::string_view text)
{
    const std::uint64_t transfer = transferNumber_;
    PromptShown = true;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    port_.SetRThreshold(0);
    const PromptAnswer answer = prompt_.Show({std::string(text), std::string(prompt_title::kError),
                                              PromptButtons::RetryCancel, PromptIcon::Error});
    PromptShown = false;
    if (transfer != transferNumber_ || outcome_ != TransferOutcome::Running)
        return std::nullopt;
    if (port_.PortOpen())
        port_.Input();
    return answer;
}

void Link::Restart()
{
    if (startFlagsKept_)
        Flags = startFlags_;
    received_.clear();
    BeginTransfer(link_text::kRetry);
}

void Link::HandshakeFailure(int limit, std::string_view text)
{
    if (PromptShown)
        return;
    ++RetryCount;
    if (RetryCount <= limit) {
        BeginTransfer(link_text::kRetry);
        return;
    }
    RetryCount = 0;
    const auto answer = AskConnection(text);
    if (!answer)
        return;
    if (*answer == PromptAnswer::Retry)
        Restart();
    else
        Abandon();
}

void Link::TransferFailure()
{
    if (PromptShown)
        return;
    const auto answer = AskConnection(link_text::kCheckConnection);
    if (!answer)
        return;
    if (*answer == PromptAnswer::Retry) {
        Restart();
        RetryCount = 0;
    } else {
        Abandon();
    }
}

void Link::Timer1_Timer()
{
    timer1_.SetEnabled(false);
    if (PromptShown)
        return;
    if (LinkState >= LinkPhase::BandInfoAsked) {
        TransferFailure(); // a reply that never came after the handshake
        return;
    }
    if (AwaitingReply)
        HandshakeFailure(kTimeoutLimit, link_text::kCheckConnectionTimeout);
}

void Link::Timer2_Timer()
{
    if (PromptShown || port_.InBufferCount() < 2)
        return;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    const Bytes bytes = port_.Input();
    if (bytes.size() >= 2 && bytes[0] == kAck && IsEntryDigit(bytes[1]))
        HandshakeStep();
    else
        HandshakeFailure(kWrongReplyLimit, link_text::kCheckConnection);
}

bool Link::SendEnd()
{
    const std::array<std::uint8_t, 1> end = {kEnd};
    port_.Output(end);
    // A port that failed while sending has closed itself; it reports the loss from the event
    // loop, but the transfer must not complete in the meantime.
    if (port_.PortOpen())
        return true;
    DeviceLost();
    return false;
}

void Link::CompleteRead()
{
    if (!SendEnd())
        return;
    port_.SetRThreshold(0);
    LinkState = LinkPhase::Idle;
    timer1_.SetEnabled(false);
    SetProgress(false, progress_.blocksDone, progress_.blocksTotal);
    // The read is complete: only now does what arrived replace the image.
    std::vector<std::uint16_t> stored;
    for (const auto &[address, data] : received_) {
        const std::size_t count = std::min<std::size_t>(data.size(), mm::kImageSize - address);
        std::copy_n(data.begin(), count, image_->begin() + address);
        for (std::size_t offset = 0; offset < count; offset += mm::kBlockSize)
            stored.push_back(std::uint16_t(address + offset));
    }
    received_.clear();
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    Finish(TransferOutcome::Completed, std::move(stored));
}

void Link::CompleteWrite()
{
    if (!SendEnd())
        return;
    timer1_.SetEnabled(false);
    SetProgress(false, progress_.blocksDone, progress_.blocksTotal);
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    LinkState = LinkPhase::Idle;
    Finish(TransferOutcome::Completed, {});
}

void Link::Abandon()
{
    port_.SetRThreshold(0);
    LinkState = LinkPhase::Idle;
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    PromptShown = false;
    received_.clear();
    SetProgress(false, 0, 0);
    if (outcome_ == TransferOutcome::Running)
        Finish(TransferOutcome::Abandoned, {});
}

void Link::Finish(TransferOutcome outcome, std::vector<std::uint16_t> readBlocks)
{
    outcome_ = outcome;
    ++transferNumber_;
    TransferResult result;
    result.outcome = outcome;
    result.read = ReadMode;
    result.planned = planned_;
    if (ReadMode) {
        result.blocks = std::move(readBlocks);
    } else {
        // A block written twice (before and after a retry) is one block of the radio; the order
        // stays the order of the wire.
        for (const std::uint16_t block : acknowledged_)
            if (std::find(result.blocks.begin(), result.blocks.end(), block) == result.blocks.end())
                result.blocks.push_back(block);
    }
    acknowledged_.clear();
    if (OnFinished)
        OnFinished(result);
}

void Link::DeviceLost()
{
    lastPortError_ = port_.ErrorString();
    const bool running = outcome_ == TransferOutcome::Running;
    Abandon();
    if (!running)
        return;
    std::string text(link_text::kConnectionLost);
    if (!lastPortError_.empty())
        text += "\n" + lastPortError_;
    prompt_.Show({text, std::string(prompt_title::kError), PromptButtons::Ok, PromptIcon::Error});
}

void Link::SetProgress(bool visible, int done, int total)
{
    progress_.visible = visible;
    progress_.label = visible ? std::string(link_text::kBusy) : std::string();
    progress_.blocksDone = done;
    progress_.blocksTotal = total;
    if (OnProgress)
        OnProgress();
}

} // namespace nx5rb
