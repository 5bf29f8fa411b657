#include "app/session.h"

namespace nx5rb {

Session::Session(const SessionSeams &seams)
    : prompt_(seams.prompt)
    , pump_(seams.pump)
    , files_(seams.files)
    , link_(state_.Image, seams.port, seams.timer1, seams.timer2, seams.prompt)
{
    link_.OnProgress = [this] {
        if (OnProgress)
            OnProgress();
    };
    link_.OnFinished = [this](const TransferResult &result) { Finished(result); };
}

Session::~Session()
{
    link_.OnProgress = nullptr;
    link_.OnFinished = nullptr;
    link_.Abandon();
}

bool Session::Busy() const
{
    return link_.Progress().visible || link_.LinkState != LinkPhase::Idle;
}

OpenResult Session::CommandOpen()
{
    using namespace file_dialog_text;
    if (Busy() || !files_)
        return OpenResult::Cancelled;
    const std::string path = FileDialog(*files_, prompt_, "OPEN", kOpenTitle, "");
    if (path.empty())
        return OpenResult::Cancelled;
    return Open(path);
}

OpenResult Session::Open(const std::string &path)
{
    if (Busy())
        return OpenResult::Cancelled;
    return OpenDataFile(state_, path, prompt_);
}

bool Session::CommandSave()
{
    using namespace file_dialog_text;
    if (Busy() || !files_)
        return false;
    // Pending edits belong in the saved file, even if the dialog is then cancelled.
    state_.ApplyIfChanged();
    const std::string path = FileDialog(*files_, prompt_, "Save", kSaveTitle, "");
    if (path.empty())
        return false;
    return SaveDataFile(state_, path, prompt_);
}

bool Session::Save(const std::string &path)
{
    if (Busy())
        return false;
    state_.ApplyIfChanged();
    return SaveDataFile(state_, path, prompt_);
}

void Session::Apply()
{
    if (!Busy())
        state_.Apply();
}

NodeAction Session::NodeClick(NodeKey key)
{
    if (Busy())
        return NodeActionOf(key);
    return TreeView1_NodeClick(state_, prompt_, key);
}

void Session::RunTransfer(TransferCommand command)
{
    if (!Busy())
        RunTransferCommand(command, link_, state_, pump_);
}

TransferOutcome Session::RunTransferToEnd(TransferCommand command)
{
    if (Busy())
        return TransferOutcome::NotStarted;
    RunTransferCommand(command, link_, state_, pump_);
    pump_.WaitWhile([this] { return link_.LinkState != LinkPhase::Idle; });
    return link_.Outcome();
}

void Session::Abort()
{
    link_.Abandon();
}

bool Session::ConfirmClose()
{
    if (!nx5rb::ConfirmClose(state_, prompt_))
        return false;
    link_.Abandon();
    return true;
}

void Session::Finished(const TransferResult &result)
{
    state_.FinishTransfer(result);
    if (OnTransferFinished)
        OnTransferFinished(result);
}

} // namespace nx5rb
