// The tool's side of the radio's programming protocol: an event-driven state machine that moves
// 16-byte blocks of the image to or from the radio. Bytes, timer ticks and clicks are events on
// one thread; the link only talks to its seams (port, two timers, message boxes).
#pragma once

#include "image/radio_image.h"
#include "link/prompt.h"
#include "link/serial_port.h"
#include "link/transfer_plan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nx5rb {

namespace link_text {
inline constexpr std::string_view kBusy = "数据处理中..";
inline constexpr std::string_view kReselectPort = "请重新选择端口！";
inline constexpr std::string_view kPortErrorTitle = "端口错误";
inline constexpr std::string_view kCheckConnection = "检测连接！重试或取消？";
inline constexpr std::string_view kCheckConnectionTimeout = "检测连接！重新或取消？";
inline constexpr std::string_view kConnectionLost = "连接中断！";
} // namespace link_text

// Where the link stands in a transfer (LinkState).
enum class LinkPhase : std::int16_t {
    Idle = 0, // no transfer
    EntrySent = 1, // the entry string went out; the radio's reply is awaited
    BandInfoAsked = 2, // the band information was asked for
    AwaitingAck = 3, // a one-byte ACK is awaited
    ReadRequested = 4, // a read request went out; the 20-byte data reply is awaited
};

// What the progress frame shows.
struct LinkProgress
{
    bool visible = false;
    std::string label;
    int blocksDone = 0;
    int blocksTotal = 0;
};

// How the last transfer ended, for callers that must tell success from failure (the command line).
enum class TransferOutcome { None, Running, Completed, Abandoned, NotStarted };

// The end of a transfer that went over the wire.
struct TransferResult
{
    TransferOutcome outcome = TransferOutcome::None;
    bool read = false;
    // The 16-byte blocks that now hold the same bytes in the image and in the radio: every block a
    // completed read stored (the band information included), every block a write had
    // acknowledged, even when the write did not complete. Nothing for a read that did not complete.
    std::vector<std::uint16_t> blocks;
    // The blocks the transfer set out to move; 0 when it ended before its handshake.
    int planned = 0;

    // A write that ended with only some of its blocks in the radio: old and new data mixed.
    bool WrotePartly() const
    {
        return !read && outcome == TransferOutcome::Abandoned && !blocks.empty()
            && int(blocks.size()) < planned;
    }
};

// What a transfer is to do, fixed when it starts.
struct TransferRequest
{
    bool read = false;
    // The blocks moved, in the order of the wire: a command's plan (PlanBlocks), a read-back of
    // what a write sent, a look at the radio before a write.
    std::vector<std::uint16_t> blocks;
    // A read stores the band information of the handshake as the frequency-area block (a
    // command's read). A read-back or a look takes only the blocks it names: the band information
    // is the radio's, and the blocks it checks must be judged by the limits that were written.
    bool keepBandInformation = false;
    // The OK/Cancel question asked before anything; not asked without `ask` (a transfer that goes
    // on from one the user already confirmed).
    std::string question;
    bool ask = true;
    // Called once the question is answered and the port is open, before the entry string goes out
    // (a write's refresh of the image, so that its first block carries the applied edits).
    std::function<void()> onStarted;
};

class Link
{
public:
    // The link moves blocks of `image`, which must outlive it.
    Link(RadioImage &image, SerialPort &port, LinkTimer &timer1, LinkTimer &timer2, Prompt &prompt);
    ~Link();
    Link(const Link &) = delete;
    Link &operator=(const Link &) = delete;

    // The start of a transfer: a transfer still running is abandoned, the request's question is
    // asked, the port opened and the entry string sent. True when the entry string went out.
    bool Start(TransferRequest request);
    // Receive handler of the port.
    void MSComm1_OnComm(CommEvent event);
    // Reply time-out (1 s).
    void Timer1_Timer();
    // Entry-reply poll (100 ms).
    void Timer2_Timer();
    // Stops a running transfer: port closed, timers off, progress hidden, nothing decoded.
    void Abandon();

    // The image the next transfers move blocks of; only while no transfer runs. The image must
    // outlive its use.
    void SetImage(RadioImage &image);
    RadioImage &Image() { return *image_; }

    const LinkProgress &Progress() const { return progress_; }
    TransferOutcome Outcome() const { return outcome_; }
    // The system's words for the last failure to open the port or the loss of the device.
    const std::string &LastPortError() const { return lastPortError_; }
    SerialPort &Port() { return port_; }
    // The band information the radio sent in the handshake of the last transfer (read or write);
    // empty when no handshake got that far.
    const std::vector<std::uint8_t> &BandInformation() const { return bandInformation_; }

    // Raised whenever Progress() changes (shown, hidden, a block done).
    std::function<void()> OnProgress;
    // Raised once when a transfer that was started ends, completed or not. A completed read has
    // stored its blocks in the image; the owner repairs and decodes it.
    std::function<void(const TransferResult &)> OnFinished;

    LinkPhase LinkState() const { return linkState_; }
    // Handshake failures since the user last answered a connection question; a transfer goes on
    // counting from where the one before it stopped.
    int RetryCount() const { return retryCount_; }
    // A connection question is open.
    bool PromptShown() const { return promptShown_; }

private:
    // Sends the entry string (again: a resend after a failed handshake, a Retry).
    void SendEntry();
    void HandshakeStep();
    void NextBlockStep();
    // Sends the read or write request of one block.
    void SendBlockRequest(std::uint16_t address);
    void HandshakeFailure(int limit, std::string_view text);
    void TransferFailure();
    void CompleteRead();
    void CompleteWrite();
    // Sends the end frame; false when the device went away meanwhile (the transfer is then
    // abandoned as lost, never completed).
    bool SendEnd();
    void DeviceLost();
    void Send(std::span<const std::uint8_t> bytes, int threshold);
    // Asks a connection question with the link frozen: no timer runs and whatever arrives while
    // the box is open is dropped, so the answer alone decides what happens next. Nothing when the
    // transfer ended meanwhile (the device went away).
    std::optional<PromptAnswer> AskConnection(std::string_view text);
    // Retry: the transfer starts again from its first block; a read drops what it had received.
    void Restart();
    void Finish(TransferOutcome outcome, std::vector<std::uint16_t> readBlocks);
    void SetProgress(bool visible, int done, int total);

    LinkPhase linkState_ = LinkPhase::Idle;
    TransferRequest request_;
    bool awaitingReply_ = false;
    std::int16_t retryCount_ = 0;
    bool promptShown_ = false;
    RadioImage *image_;
    SerialPort &port_;
    LinkTimer &timer1_;
    LinkTimer &timer2_;
    Prompt &prompt_;

    LinkProgress progress_;
    TransferOutcome outcome_ = TransferOutcome::None;
    std::string lastPortError_;
    std::vector<std::uint8_t> bandInformation_;
    std::uint16_t requestedBlock_ = 0;
    // Blocks a read has received, in order; they go into the image together when it completes.
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> received_;
    // Blocks a write has had acknowledged.
    std::vector<std::uint16_t> acknowledged_;
    std::size_t nextBlock_ = 0; // the next of the request's blocks to move
    int planned_ = 0; // the blocks this transfer moves, as its handshake counted them
    // Counts transfers started and ended, so that a question answered after its transfer ended
    // changes nothing.
    std::uint64_t transferNumber_ = 0;
};

} // namespace nx5rb
