#include "link/link_protocol.h"

#include "link/frames.h"
#include "shell/window_state.h"

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

Link::Link(WindowState &state, SerialPort &port, LinkTimer &timer1, LinkTimer &timer2,
           Prompt &prompt)
    : state_(state)
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

void Link::BeginTransfer(std::string_view prompt)
{
    LinkState = 0;
    if (prompt != link_text::kRetry) {
        ReadMode = false;
        Flags = TransferFlags();
        if (port_.PortOpen())
            Abandon();
        received_.clear();
        if (prompt_.Show({std::string(prompt), std::string(texts::kWarningTitle),
                          PromptButtons::OkCancel, PromptIcon::Warning})
            == PromptAnswer::Cancel) {
            outcome_ = TransferOutcome::NotStarted;
            return;
        }
        if (!port_.PortOpen() && !port_.SetPortOpen(true)) {
            lastPortError_ = port_.ErrorString();
            outcome_ = TransferOutcome::NotStarted;
            prompt_.Show({std::string(link_text::kReselectPort),
                          std::string(link_text::kPortErrorTitle), PromptButtons::Ok,
                          PromptIcon::Error});
            return;
        }
        outcome_ = TransferOutcome::Running;
        AwaitingReply = true;
        SetProgress(true, 0, 0);
    } else {
        AwaitingReply = true;
    }
    timer1_.SetInterval(kReplyTimeoutMs);
    timer1_.SetEnabled(true);
    timer2_.SetEnabled(true);
    LinkState = 1;
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
    AwaitingReply = false;
    timer1_.SetEnabled(false);
    const Bytes bytes = port_.Input();

    switch (LinkState) {
    case 1:
        if (bytes.size() >= kEntryReplyLength && bytes[1] == kAck && IsEntryDigit(bytes[2])) {
            timer2_.SetEnabled(false);
            HandshakeStep();
        } else {
            HandshakeFailure(kWrongReplyLimit, link_text::kCheckConnection);
        }
        break;
    case 2:
        if (bytes.size() < kBandInfoLength) {
            TransferFailure();
            break;
        }
        if (ReadMode)
            received_.emplace_back(
                mm::kFreqAreaBlock,
                std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + kBandInfoLength));
        NextBlockStep();
        break;
    case 3:
        if (!bytes.empty() && bytes[0] == kAck) {
            SetProgress(true, progress_.blocksDone + 1, progress_.blocksTotal);
            NextBlockStep();
        } else {
            TransferFailure();
        }
        break;
    case 4: {
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
        LinkState = 3;
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
    LinkState = 2;
    const AddressRange range = FirstRange(Flags);
    BlockAddress = range.start;
    RangeEnd = range.end;
    SetProgress(true, 0, int(PlanBlocks(Flags, ReadMode).size()));
    const std::array<std::uint8_t, 1> request = {kBandInfo};
    Send(request, int(kBandInfoLength));
}

void Link::NextBlockStep()
{
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
    requestedBlock_ = BlockAddress;
    const std::uint8_t high = std::uint8_t(BlockAddress >> 8);
    const std::uint8_t low = std::uint8_t(BlockAddress & 0xFF);
    if (ReadMode) {
        LinkState = 4;
        const std::array<std::uint8_t, 4> request = {kRead, high, low, kBlockLength};
        Send(request, int(kDataReplyLength));
    } else {
        LinkState = 3;
        std::array<std::uint8_t, kWriteLength> request = {kWrite, high, low, kBlockLength};
        std::copy_n(state_.Image.begin() + BlockAddress, mm::kBlockSize,
                    request.begin() + kRequestLength);
        Send(request, int(kAckLength));
    }
    BlockAddress = std::uint16_t(BlockAddress + mm::kBlockSize);
}

void Link::Send(std::span<const std::uint8_t> bytes, int threshold)
{
    port_.Output(bytes);
    port_.SetRThreshold(threshold);
    // After the handshake every reply is awaited for at most a second.
    timer1_.SetInterval(kReplyTimeoutMs);
    timer1_.SetEnabled(true);
}

PromptAnswer Link::AskConnection(std::string_view text)
{
    return prompt_.Show({std::string(text), std::string(texts::kErrorTitle),
                         PromptButtons::RetryCancel, PromptIcon::Error});
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
    PromptShown = true;
    if (AskConnection(text) == PromptAnswer::Retry) {
        PromptShown = false;
        BeginTransfer(link_text::kRetry);
    } else {
        Abandon();
    }
}

void Link::TransferFailure()
{
    if (PromptShown)
        return;
    timer1_.SetEnabled(false);
    PromptShown = true;
    if (AskConnection(link_text::kCheckConnection) == PromptAnswer::Retry) {
        BeginTransfer(link_text::kRetry);
        PromptShown = false;
        RetryCount = 0;
    } else {
        Abandon();
    }
}

void Link::Timer1_Timer()
{
    timer1_.SetEnabled(false);
    if (LinkState >= 2) {
        TransferFailure(); // a reply that never came after the handshake
        return;
    }
    if (AwaitingReply && !PromptShown) {
        PromptShown = true;
        ++RetryCount;
        if (RetryCount <= kTimeoutLimit) {
            BeginTransfer(link_text::kRetry);
        } else {
            RetryCount = 0;
            if (AskConnection(link_text::kCheckConnectionTimeout) == PromptAnswer::Retry)
                BeginTransfer(link_text::kRetry);
            else
                Abandon();
        }
        PromptShown = false;
    }
}

void Link::Timer2_Timer()
{
    if (port_.InBufferCount() < 2)
        return;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    const Bytes bytes = port_.Input();
    if (bytes.size() >= 2 && bytes[0] == kAck && IsEntryDigit(bytes[1]))
        HandshakeStep();
    else
        HandshakeFailure(kWrongReplyLimit, link_text::kCheckConnection);
}

void Link::CompleteRead()
{
    const std::array<std::uint8_t, 1> end = {kEnd};
    port_.Output(end);
    port_.SetRThreshold(0);
    LinkState = 0;
    timer1_.SetEnabled(false);
    SetProgress(false, progress_.blocksDone, progress_.blocksTotal);
    // The read is complete: only now does what arrived replace the image.
    for (const auto &[address, data] : received_)
        std::copy_n(data.begin(), std::min<std::size_t>(data.size(), mm::kImageSize - address),
                    state_.Image.begin() + address);
    received_.clear();
    state_.CompleteRead();
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    outcome_ = TransferOutcome::Completed;
    if (OnReadCompleted)
        OnReadCompleted();
}

void Link::CompleteWrite()
{
    const std::array<std::uint8_t, 1> end = {kEnd};
    port_.Output(end);
    timer1_.SetEnabled(false);
    SetProgress(false, progress_.blocksDone, progress_.blocksTotal);
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    LinkState = 0;
    state_.MarkSynced();
    outcome_ = TransferOutcome::Completed;
}

void Link::Abandon()
{
    port_.SetRThreshold(0);
    LinkState = 0;
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    PromptShown = false;
    received_.clear();
    SetProgress(false, 0, 0);
    if (outcome_ == TransferOutcome::Running)
        outcome_ = TransferOutcome::Abandoned;
}

void Link::DeviceLost()
{
    lastPortError_ = port_.ErrorString();
    const bool running = LinkState != 0 || port_.PortOpen();
    Abandon();
    if (!running)
        return;
    std::string text(link_text::kConnectionLost);
    if (!lastPortError_.empty())
        text += lastPortError_;
    prompt_.Show({text, std::string(texts::kErrorTitle), PromptButtons::Ok, PromptIcon::Error});
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
