// One run of the tool: the window's state and the link on the seams it is given, with everything a
// technician does to them (open, save, apply, discard, the fourteen transfers, the close
// question). The window and nx5rb-cli both drive a session, so a rule lands in both at once.
//
// Beyond the buttons' own rules the session guards the radio: a write that sends calibration first
// reads what 读取全部 reads of the radio, backs it up and asks before overwriting a calibration
// that differs much; frequency-area, band and write-all writes send only the blocks that differ
// from what that look read; every write is read back and compared; images about to be replaced
// (with their pending edits applied) and every completed read are backed up.
#pragma once

#include "app/backups.h"
#include "app/file_commands.h"
#include "app/file_dialog.h"
#include "app/navigation.h"
#include "app/status_text.h"
#include "app/transfer_commands.h"
#include "app/window_state.h"
#include "link/event_pump.h"
#include "link/link_protocol.h"
#include "link/prompt.h"
#include "link/serial_port.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nx5rb {

// The seams a session runs on; they must outlive it. `files` may be null for a session that is
// only ever given paths (the command line).
struct SessionSeams
{
    SerialPort &port;
    LinkTimer &timer1;
    LinkTimer &timer2;
    Prompt &prompt;
    EventPump &pump;
    FileChooser *files = nullptr;
};

namespace session_text {
// "即将覆盖本机的校准数据（频段-A：37 项不同），确定写入？" comes from the field table.
inline constexpr std::string_view kCalibrationPlaceholder
    = "当前数据的校准值未从电台读取，也未从文件打开。";
// Followed by the bands: "未写入：本机的校准数据与文件相差太多（频段-A：37 项不同）。"
inline constexpr std::string_view kCalibrationRefused = "未写入：本机的校准数据与文件相差太多";
inline constexpr std::string_view kCloseDuringTransfer
    = "正在与电台通信，关闭将中止传输，电台中的数据可能不完整。确定关闭？";
inline constexpr std::string_view kVerifyFailed = "写入校验失败，电台中的数据与写入的不同：";
inline constexpr std::string_view kVerifyNotRead = "写入后无法读回校验，写入是否成功未知。";
inline constexpr std::string_view kBackupFailed = "自动备份失败（不影响本次操作）：";
} // namespace session_text

// What happens when a write would overwrite a radio's calibration that differs much from what is
// about to be written.
enum class CalibrationGuard {
    Off, // nothing is read first
    Ask, // the user is asked (the window)
    Refuse, // the write does not happen (the command line, by default)
    Overwrite, // the write goes on (nx5rb-cli write --overwrite-calibration)
};

struct SessionOptions
{
    CalibrationGuard guard = CalibrationGuard::Off;
    bool verify = false; // every write read back and compared
    BackupStore *backups = nullptr; // none: no backups
    // Frequency-area, band and write-all writes send only the blocks that differ from what the
    // look before them read of the radio. Without the look (guard off) every block goes.
    bool changedBlocksOnly = false;
    // What the radio is known to hold (nx5rb-cli write --since): when the radio proves to be that
    // one, a write sends only the blocks where the image differs from it; otherwise every block.
    const RadioImage *knownRadio = nullptr;
};

// How a write with a known radio found the radio on the port.
enum class KnownRadioCheck {
    NotAsked,
    Same,
    OtherBandInformation, // the handshake's band information differs
    OtherTuneBlock, // band A's tune block differs
    NotRead, // the look did not complete
};

// What the last write moved, as the command line sums it up (the status line tells a transfer from
// TransferReport).
struct WriteSummary
{
    int sent = 0; // blocks the radio acknowledged
    int region = 0; // blocks of the command's region
    bool changesOnly = false; // the blocks left out held the same bytes in the radio
    bool verified = false; // every block sent was read back as written
    bool written = false; // the write itself completed
    bool completed = false; // the write and every check of it succeeded
    KnownRadioCheck knownRadio = KnownRadioCheck::NotAsked;
};

class Session
{
public:
    explicit Session(const SessionSeams &seams, const SessionOptions &options = {});
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    WindowState &State() { return state_; }
    const WindowState &State() const { return state_; }
    Link &LinkLayer() { return link_; }
    const Link &LinkLayer() const { return link_; }
    SessionOptions &Options() { return options_; }

    // A transfer is running: nothing may change or send the image but Abort.
    bool Busy() const;
    // The file the image was last opened from or saved to; empty once a read has changed it, or
    // before any.
    const std::string &CurrentFile() const { return origin_.File(); }
    // Where the image and each of its regions came from.
    const ImageOrigin &Origin() const { return origin_; }

    // "打开(&O)": the open dialog, then Open.
    OpenResult CommandOpen();
    // Asks "覆盖当前数据？", then reads the file into the image and decodes every page.
    OpenResult Open(const std::string &path);
    // "保存(&S)": pending edits applied, then the save dialog, then the file.
    bool CommandSave();
    // Pending edits applied, then the image written to `path`.
    bool Save(const std::string &path);
    // "应用(&A)".
    void Apply();
    // A click on a tree node: the pending-change question, then what the node stands for. While a
    // transfer runs the pages only show: pending edits are neither applied nor dropped.
    NodeAction NodeClick(NodeKey key);
    // A transfer button. A read (and a write without checks) returns once it has started; a
    // checked write returns when it has been compared, with events flowing meanwhile.
    void RunTransfer(TransferCommand command);
    // The command line's transfer: the button, then the event loop until everything has ended.
    // Completed only when the transfer and every check of it succeeded.
    TransferOutcome RunTransferToEnd(TransferCommand command);
    // "中止".
    void Abort();
    // Closing: while a transfer runs, asks whether to abandon it (Cancel lets it go on); then asks
    // "数据尚未保存，确定关闭？" when something would be lost. True when the tool may close.
    bool ConfirmClose();
    // The user chose to close: what ends now is not reported.
    bool Closing() const { return closing_; }
    // The end of the last transfer over the wire.
    const TransferResult &LastResult() const { return lastResult_; }
    // How the last transfer command that got under way ended, its checks and time included.
    const TransferReport &LastReport() const { return lastReport_; }
    // What the last write moved (nothing before the first).
    const WriteSummary &LastWrite() const { return lastWrite_; }

    // Raised when the progress of a transfer changes (shown, a block done, hidden).
    std::function<void()> OnProgress;
    // Raised when a transfer has ended and the state has taken it in (a read decoded).
    std::function<void(const TransferResult &)> OnTransferFinished;
    // Raised when a write that started has ended with every check of it, with what it moved.
    std::function<void(const WriteSummary &)> OnWriteFinished;
    // Raised with the path of every backup written.
    std::function<void(const std::string &)> OnBackup;

private:
    // The outcome of the last transfer, or of the whole checked write.
    TransferOutcome CheckedWrite(TransferCommand command);
    // CheckedWrite, with its report completed.
    TransferOutcome ReportedCheckedWrite(TransferCommand command);
    // A new command's report starts: nothing on the wire yet.
    void StartReport();
    // A read of exactly `blocks` into `image`, the document left as it is: a look at the radio
    // before a write (under the command's question with `ask`), or the read-back after it.
    // NotStarted when it never got under way.
    TransferOutcome ReadInto(RadioImage &image, const std::vector<std::uint16_t> &blocks,
                             TransferCommand command, bool ask);
    // The blocks of the write's `region` whose bytes the radio may not hold: those that differ
    // from what the look read of `radio` (the blocks `looked`), from `known` (the known radio,
    // once the look proved it the one on the port; null otherwise), or that neither tells.
    std::vector<std::uint16_t> BlocksToSend(const std::vector<std::uint16_t> &region,
                                            const RadioImage &radio,
                                            const std::vector<std::uint16_t> &looked,
                                            const RadioImage *known) const;
    void ReportWrite(const WriteSummary &summary);
    void Finished(const TransferResult &result);
    void Backup(const RadioImage &image, const std::string &what);
    // The image as a save would write it: pending edits applied, in a copy only.
    RadioImage ImageAsSaved() const;
    void WaitForTheLink();

    Prompt &prompt_;
    EventPump &pump_;
    FileChooser *files_;
    SessionOptions options_;
    WindowState state_;
    Link link_;
    bool checking_ = false; // the link reads into an image of the session's own
    TransferResult lastResult_;
    TransferReport lastReport_;
    // The command's write has been reported; its checks and further time go into that report.
    bool reportOpen_ = false;
    // The link's time on the wire for this command, and when its current transfer began.
    std::chrono::steady_clock::duration wireTime_ {};
    std::optional<std::chrono::steady_clock::time_point> transferStart_;
    WriteSummary lastWrite_;
    bool checkedWrite_ = false; // CheckedWrite reports the write itself
    int writeRegion_ = 0; // the blocks of the region of the write running
    // A read that started on an image holding unsaved changes keeps that image to back it up.
    bool backupBeforeRead_ = false;
    RadioImage beforeRead_ {};
    std::string readRegion_;
    bool backupFailureShown_ = false;
    ImageOrigin origin_;
    bool closing_ = false;
};

} // namespace nx5rb
