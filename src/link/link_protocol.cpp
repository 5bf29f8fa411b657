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
    if (linkState_ == LinkPhase::Idle && !progress_.visible)
        image_ = &image;
}

bool Link::Start(TransferRequest request)
{
    // A running transfer ends as what it was (its direction, its blocks) before the new one
    // takes its place.
    if (port_.PortOpen())
        Abandon();
    linkState_ = LinkPhase::Idle;
    request_ = TransferRequest();
    received_.clear();
    acknowledged_.clear();
    bandInformation_.clear();
    planned_ = 0;
    request_ = std::move(request);
    if (request_.ask
        && prompt_.Show({request_.question, std::string(prompt_title::kWarning),
                         PromptButtons::OkCancel, PromptIcon::Warning})
            == PromptAnswer::Cancel) {
        outcome_ = TransferOutcome::NotStarted;
        return false;
    }
    if (!port_.PortOpen() && !port_.SetPortOpen(true)) {
        lastPortError_ = port_.ErrorString();
        outcome_ = TransferOutcome::NotStarted;
        std::string text(link_text::kReselectPort);
        if (const std::string hint = port_.OpenFailureHint(); !hint.empty())
            text += "\n" + hint;
        prompt_.Show(
            {text, std::string(link_text::kPortErrorTitle), PromptButtons::Ok, PromptIcon::Error});
        return false;
    }
    outcome_ = TransferOutcome::Running;
    ++transferNumber_;
    SetProgress(true, 0, 0);
    if (request_.onStarted)
        request_.onStarted();
    SendEntry();
    return linkState_ == LinkPhase::EntrySent;
}

void Link::SendEntry()
{
    linkState_ = LinkPhase::Idle;
    awaitingReply_ = true;
    timer1_.SetInterval(kReplyTimeoutMs);
    timer1_.SetEnabled(true);
    timer2_.SetEnabled(true);
    linkState_ = LinkPhase::EntrySent;
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
    if (promptShown_) {
        // The user is being asked what to do; a late reply must not carry the transfer on behind
        // the question.
        port_.Input();
        return;
    }
    awaitingReply_ = false;
    timer1_.SetEnabled(false);
    const Bytes bytes = port_.Input();

    switch (linkState_) {
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
        if (request_.read && request_.keepBandInformation)
            received_.emplace_back(
                mm::kFreqAreaBlock,
                std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + kBandInfoLength));
        NextBlockStep();
        break;
    case LinkPhase::AwaitingAck:
        if (!bytes.empty() && bytes[0] == kAck) {
            if (!request_.read)
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
        linkState_ = LinkPhase::AwaitingAck;
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
    linkState_ = LinkPhase::BandInfoAsked;
    nextBlock_ = 0;
    planned_ = int(request_.blocks.size());
    SetProgress(true, 0, planned_);
    const std::array<std::uint8_t, 1> request = {kBandInfo};
    Send(request, int(kBandInfoLength));
}

void Link::NextBlockStep()
{
    if (nextBlock_ == request_.blocks.size()) {
        if (request_.read)
            CompleteRead();
        else
            CompleteWrite();
        return;
    }
    SendBlockRequest(request_.blocks[nextBlock_++]);
}

void Link::SendBlockRequest(std::uint16_t address)
{
    requestedBlock_ = address;
    const std::uint8_t high = std::uint8_t(address >> 8);
    const std::uint8_t low = std::uint8_t(address & 0xFF);
    if (request_.read) {
        linkState_ = LinkPhase::ReadRequested;
        const std::array<std::uint8_t, 4> request = {kRead, high, low, kBlockLength};
        Send(request, int(kDataReplyLength));
    } else {
        linkState_ = LinkPhase::AwaitingAck;
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
    promptShown_ = true;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    port_.SetRThreshold(0);
    const PromptAnswer answer = prompt_.Show({std::string(text), std::string(prompt_title::kError),
                                              PromptButtons::RetryCancel, PromptIcon::Error});
    promptShown_ = false;
    if (transfer != transferNumber_ || outcome_ != TransferOutcome::Running)
        return std::nullopt;
    if (port_.PortOpen())
        port_.Input();
    return answer;
}

void Link::Restart()
{
    received_.clear();
    SendEntry();
}

void Link::HandshakeFailure(int limit, std::string_view text)
{
    if (promptShown_)
        return;
    ++retryCount_;
    if (retryCount_ <= limit) {
        SendEntry();
        return;
    }
    retryCount_ = 0;
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
    if (promptShown_)
        return;
    const auto answer = AskConnection(link_text::kCheckConnection);
    if (!answer)
        return;
    if (*answer == PromptAnswer::Retry) {
        Restart();
        retryCount_ = 0;
    } else {
        Abandon();
    }
}

void Link::Timer1_Timer()
{
    timer1_.SetEnabled(false);
    if (promptShown_)
        return;
    if (linkState_ >= LinkPhase::BandInfoAsked) {
        TransferFailure(); // a reply that never came after the handshake
        return;
    }
    if (awaitingReply_)
        HandshakeFailure(kTimeoutLimit, link_text::kCheckConnectionTimeout);
}

void Link::Timer2_Timer()
{
    if (promptShown_ || port_.InBufferCount() < 2)
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
    linkState_ = LinkPhase::Idle;
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
    linkState_ = LinkPhase::Idle;
    Finish(TransferOutcome::Completed, {});
}

void Link::Abandon()
{
    port_.SetRThreshold(0);
    linkState_ = LinkPhase::Idle;
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    promptShown_ = false;
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
    result.read = request_.read;
    result.planned = planned_;
    if (request_.read) {
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
