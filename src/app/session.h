// One run of the tool: the window's state and the link on the seams it is given, with everything a
// technician does to them (open, save, apply, discard, the fourteen transfers, the close
// question). The window and nx5rb-cli both drive a session, so a rule lands in both at once.
#pragma once

#include "app/file_commands.h"
#include "app/file_dialog.h"
#include "app/navigation.h"
#include "app/transfer_commands.h"
#include "app/window_state.h"
#include "link/event_pump.h"
#include "link/link_protocol.h"
#include "link/prompt.h"
#include "link/serial_port.h"

#include <functional>
#include <string>

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

class Session
{
public:
    explicit Session(const SessionSeams &seams);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    WindowState &State() { return state_; }
    const WindowState &State() const { return state_; }
    Link &LinkLayer() { return link_; }
    const Link &LinkLayer() const { return link_; }
    Prompt &Prompts() { return prompt_; }

    // A transfer is running: nothing may change or send the image but Abort.
    bool Busy() const;

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
    // A transfer button; returns when its handler does (at once, or after the write-all's wait).
    void RunTransfer(TransferCommand command);
    // The command line's transfer: the button, then the event loop until the transfer has ended.
    // The outcome.
    TransferOutcome RunTransferToEnd(TransferCommand command);
    // "中止".
    void Abort();
    // Closing: asks "数据尚未保存，确定关闭？" when something would be lost; a running transfer
    // is abandoned when the answer is to close. True when the tool may close.
    bool ConfirmClose();

    // Raised when the progress of a transfer changes (shown, a block done, hidden).
    std::function<void()> OnProgress;
    // Raised when a transfer has ended and the state has taken it in (a read decoded).
    std::function<void(const TransferResult &)> OnTransferFinished;

private:
    void Finished(const TransferResult &result);

    Prompt &prompt_;
    EventPump &pump_;
    FileChooser *files_;
    WindowState state_;
    Link link_;
};

} // namespace nx5rb
