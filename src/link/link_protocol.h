// The tool's side of the radio's programming protocol: an event-driven state machine that moves
// 16-byte blocks of the image to or from the radio. Bytes, timer ticks and clicks are events on
// one thread; the link only talks to its seams (port, two timers, message boxes).
#pragma once

#include "image/memory_map.h"
#include "link/serial_port.h"
#include "link/transfer_plan.h"
#include "shell/prompt.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nx5rb {

class WindowState;

namespace link_text {
inline constexpr std::string_view kRetry = "Retry"; // BeginTransfer's argument for a resend
inline constexpr std::string_view kBusy = "数据处理中..";
inline constexpr std::string_view kReselectPort = "请重新选择端口！";
inline constexpr std::string_view kPortErrorTitle = "端口错误";
inline constexpr std::string_view kCheckConnection = "检测连接！重试或取消？";
inline constexpr std::string_view kCheckConnectionTimeout = "检测连接！重新或取消？";
inline constexpr std::string_view kConnectionLost = "连接中断！";
} // namespace link_text

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

class Link
{
public:
    Link(WindowState &state, SerialPort &port, LinkTimer &timer1, LinkTimer &timer2,
         Prompt &prompt);
    ~Link();
    Link(const Link &) = delete;
    Link &operator=(const Link &) = delete;

    // The start of a transfer: asks `prompt` (OK/Cancel), opens the port and sends the entry
    // string; with link_text::kRetry it only resends the entry string.
    void BeginTransfer(std::string_view prompt);
    // Receive handler of the port.
    void MSComm1_OnComm(CommEvent event);
    // Reply time-out (1 s).
    void Timer1_Timer();
    // Entry-reply poll (100 ms).
    void Timer2_Timer();
    // Stops a running transfer: port closed, timers off, progress hidden, nothing decoded.
    void Abandon();

    const LinkProgress &Progress() const { return progress_; }
    TransferOutcome Outcome() const { return outcome_; }
    // The system's words for the last failure to open the port or the loss of the device.
    const std::string &LastPortError() const { return lastPortError_; }
    SerialPort &Port() { return port_; }

    // Raised whenever Progress() changes (shown, hidden, a block done).
    std::function<void()> OnProgress;
    // Raised when a read has completed and every page has been decoded again.
    std::function<void()> OnReadCompleted;

    // --- link state ---
    std::int16_t LinkState = 0; // 0 idle, 1 entry sent, 2 band info asked, 3 ACK awaited, 4 read
    bool ReadMode = false;
    TransferFlags Flags;
    std::uint16_t BlockAddress = 0;
    std::uint16_t RangeEnd = 0;
    bool AwaitingReply = false;
    std::int16_t RetryCount = 0;
    bool PromptShown = false;

private:
    void HandshakeStep();
    void NextBlockStep();
    void HandshakeFailure(int limit, std::string_view text);
    void TransferFailure();
    void CompleteRead();
    void CompleteWrite();
    void DeviceLost();
    void Send(std::span<const std::uint8_t> bytes, int threshold);
    PromptAnswer AskConnection(std::string_view text);
    void SetProgress(bool visible, int done, int total);

    WindowState &state_;
    SerialPort &port_;
    LinkTimer &timer1_;
    LinkTimer &timer2_;
    Prompt &prompt_;

    LinkProgress progress_;
    TransferOutcome outcome_ = TransferOutcome::None;
    std::string lastPortError_;
    std::uint16_t requestedBlock_ = 0;
    // Blocks a read has received, in order; they go into the image together when it completes.
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> received_;
};

} // namespace nx5rb
