#include "app/session.h"

#include "editors/field_table.h"

namespace nx5rb {

Session::Session(const SessionSeams &seams, const SessionOptions &options)
    : prompt_(seams.prompt)
    , pump_(seams.pump)
    , files_(seams.files)
    , options_(options)
    , link_(state_.Image, seams.port, seams.timer1, seams.timer2, seams.prompt)
{
    link_.OnProgress = [this] {
        // A transfer's time starts once it is under way: after its question, at its entry string.
        if (link_.Progress().visible && !transferStart_)
            transferStart_ = std::chrono::steady_clock::now();
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
    const bool unsaved = state_.UnsavedChanges();
    const RadioImage before = ImageAsSaved();
    const OpenResult result = OpenDataFile(state_, path, prompt_);
    if (result == OpenResult::Opened) {
        origin_.Opened(path);
        if (unsaved)
            Backup(before, "before-open");
    }
    return result;
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
    return Save(path);
}

bool Session::Save(const std::string &path)
{
    if (Busy())
        return false;
    state_.ApplyIfChanged();
    if (!SaveDataFile(state_, path, prompt_))
        return false;
    origin_.Saved(path);
    return true;
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
    if (Busy())
        return;
    StartReport();
    if (!IsRead(command) && (options_.verify || options_.guard != CalibrationGuard::Off)) {
        ReportedCheckedWrite(command);
        return;
    }
    const bool unsaved = state_.UnsavedChanges();
    // What the read replaces, as a save would have kept it: typed edits not yet applied included.
    const RadioImage before = IsRead(command) && unsaved ? ImageAsSaved() : state_.Image;
    const bool started = StartTransferCommand(command, link_, state_);
    if (IsRead(command) && started) {
        readRegion_ = RegionName(command);
        backupBeforeRead_ = unsaved;
        beforeRead_ = before;
    }
    FinishWriteAll(command, link_, pump_);
}

TransferOutcome Session::RunTransferToEnd(TransferCommand command)
{
    if (Busy())
        return TransferOutcome::NotStarted;
    StartReport();
    if (!IsRead(command) && (options_.verify || options_.guard != CalibrationGuard::Off))
        return ReportedCheckedWrite(command);
    RunTransfer(command);
    WaitForTheLink();
    return link_.Outcome();
}

void Session::WaitForTheLink()
{
    pump_.WaitWhile([this] { return link_.LinkState != LinkPhase::Idle; });
}

bool Session::ReadInto(RadioImage &image, const std::vector<std::uint16_t> &blocks,
                       TransferCommand command)
{
    checking_ = true;
    link_.SetImage(image);
    link_.BeginTransfer(Confirmation(command), false);
    if (link_.LinkState == LinkPhase::EntrySent) {
        link_.ReadMode = true;
        link_.ExplicitBlocks = blocks;
        WaitForTheLink();
    }
    link_.SetImage(state_.Image);
    checking_ = false;
    return link_.Outcome() == TransferOutcome::Completed;
}

void Session::StartReport()
{
    reportOpen_ = false;
    wireTime_ = {};
    transferStart_.reset();
}

TransferOutcome Session::ReportedCheckedWrite(TransferCommand command)
{
    const TransferOutcome outcome = CheckedWrite(command);
    if (!reportOpen_ && outcome == TransferOutcome::Abandoned) {
        // The look at the radio before the write ended it: nothing was written.
        lastReport_ = {};
        lastReport_.outcome = outcome;
    }
    return outcome;
}

TransferOutcome Session::CheckedWrite(TransferCommand command)
{
    const std::vector<int> bands = CalibrationBands(command);
    const bool guarded = options_.guard != CalibrationGuard::Off && !bands.empty();
    const auto endWith = [this, command](TransferOutcome outcome) {
        // 写入全部 keeps the window busy for 2 s after it, whatever became of it.
        if (command == TransferCommand::WriteAll)
            pump_.PauseInput(kWriteAllPauseMs);
        return outcome;
    };

    if (guarded) {
        // The command's question first, then what 读取全部 reads of the radio into an erased image
        // of its own: the backup is the radio's, and writing it all back restores what was read.
        RadioImage radio;
        radio.fill(mm::kErased);
        checking_ = true;
        link_.SetImage(radio);
        link_.BeginTransfer(Confirmation(command));
        const bool started = link_.LinkState == LinkPhase::EntrySent;
        if (started) {
            link_.ReadMode = true;
            link_.ExplicitBlocks = RadioLookBlocks();
            WaitForTheLink();
        }
        link_.SetImage(state_.Image);
        checking_ = false;
        if (!started) {
            if (command == TransferCommand::WriteAll)
                state_.DataChanged = true; // set before the answer was known
            return endWith(TransferOutcome::NotStarted);
        }
        if (link_.Outcome() != TransferOutcome::Completed)
            return endWith(link_.Outcome()); // nothing was written
        Backup(radio, "radio-before-write-" + std::string(RegionName(command)));

        // What is about to be written, held against what the radio has.
        ApplyAsWriteDoes(command, state_);
        if (auto question = CalibrationQuestion(radio, state_.Image, bands)) {
            switch (options_.guard) {
            case CalibrationGuard::Ask:
                for (const int band : bands)
                    if (!origin_.Loaded(TuneRegion(band))) {
                        *question += "\n" + std::string(session_text::kCalibrationPlaceholder);
                        break;
                    }
                if (prompt_.Show({*question, std::string(prompt_title::kWarning),
                                  PromptButtons::OkCancel, PromptIcon::Warning,
                                  PromptAnswer::Cancel})
                    != PromptAnswer::Ok)
                    return endWith(TransferOutcome::NotStarted);
                break;
            case CalibrationGuard::Refuse:
                prompt_.Show({std::string(session_text::kCalibrationRefused) + "（"
                                  + CalibrationOverwrites(radio, state_.Image, bands) + "）。",
                              std::string(prompt_title::kError), PromptButtons::Ok,
                              PromptIcon::Error});
                return endWith(TransferOutcome::NotStarted);
            case CalibrationGuard::Overwrite:
            case CalibrationGuard::Off:
                break;
            }
        }
    }

    // The write itself; asked only when the guard did not ask already.
    if (!StartTransferCommand(command, link_, state_, !guarded))
        return endWith(TransferOutcome::NotStarted);
    WaitForTheLink();
    if (link_.Outcome() != TransferOutcome::Completed || !options_.verify)
        return endWith(link_.Outcome());

    // Read back exactly what went out and compare it field by field.
    const std::vector<std::uint16_t> written = lastResult_.blocks;
    RadioImage readBack = state_.Image;
    if (!ReadInto(readBack, written, command)) {
        lastReport_.check = TransferReport::Check::NotReadBack;
        if (closing_)
            return endWith(TransferOutcome::Abandoned);
        prompt_.Show({std::string(session_text::kVerifyNotRead), std::string(prompt_title::kError),
                      PromptButtons::Ok, PromptIcon::Error});
        return endWith(TransferOutcome::Abandoned);
    }
    const std::vector<mm::Address> blocks(written.begin(), written.end());
    const std::vector<std::string> report = VerifyReport(state_.Image, readBack, blocks);
    if (report.empty()) {
        lastReport_.check = TransferReport::Check::Verified;
        return endWith(TransferOutcome::Completed);
    }
    lastReport_.check = TransferReport::Check::Differs;
    // The radio holds what was read back, not what was sent: the close guard must still ask.
    for (const std::uint16_t block : written)
        std::copy_n(readBack.begin() + block, mm::kBlockSize, state_.SyncedImage.begin() + block);
    std::string text(session_text::kVerifyFailed);
    for (const std::string &line : report)
        text += "\n" + line;
    prompt_.Show({text, std::string(prompt_title::kError), PromptButtons::Ok, PromptIcon::Error});
    return endWith(TransferOutcome::Abandoned);
}

void Session::Abort()
{
    link_.Abandon();
}

bool Session::ConfirmClose()
{
    if (Busy()) {
        if (prompt_.Show({std::string(session_text::kCloseDuringTransfer),
                          std::string(prompt_title::kWarning), PromptButtons::OkCancel,
                          PromptIcon::Warning, PromptAnswer::Cancel})
            != PromptAnswer::Ok)
            return false;
        // As 中止 does; a checked write stops where it is and says nothing more.
        closing_ = true;
        link_.Abandon();
    }
    if (!nx5rb::ConfirmClose(state_, prompt_)) {
        closing_ = false;
        return false;
    }
    closing_ = true;
    link_.Abandon();
    return true;
}

void Session::Finished(const TransferResult &result)
{
    lastResult_ = result;
    if (transferStart_) {
        wireTime_ += std::chrono::steady_clock::now() - *transferStart_;
        transferStart_.reset();
    }
    const double seconds = std::chrono::duration<double>(wireTime_).count();
    if (checking_) {
        // A look at the radio or a read-back: the document stays as it is; the time counts.
        if (reportOpen_)
            lastReport_.seconds = seconds;
        return;
    }
    lastReport_ = {.outcome = result.outcome,
                   .read = result.read,
                   .blocks = int(result.blocks.size()),
                   .planned = result.planned,
                   .regionBlocks = result.planned,
                   .seconds = seconds};
    reportOpen_ = !result.read;
    const bool readCompleted = result.read && result.outcome == TransferOutcome::Completed;
    state_.FinishTransfer(result);
    if (readCompleted) {
        origin_.Read(result.blocks);
        if (backupBeforeRead_)
            Backup(beforeRead_, "before-read-" + readRegion_);
        Backup(state_.Image, "read-" + readRegion_);
    }
    backupBeforeRead_ = false;
    if (OnTransferFinished)
        OnTransferFinished(result);
}

void Session::Backup(const RadioImage &image, const std::string &what)
{
    if (!options_.backups)
        return;
    const BackupResult result = options_.backups->Save(image, what);
    if (result.ok()) {
        if (OnBackup)
            OnBackup(result.path);
        return;
    }
    // A backup that cannot be written never stops the work; it is said once.
    if (backupFailureShown_)
        return;
    backupFailureShown_ = true;
    const std::string &folder = options_.backups->Folder();
    std::string text(session_text::kBackupFailed);
    text += result.failure.find(folder) == std::string::npos ? folder + "：" + result.failure
                                                             : result.failure;
    prompt_.Show({text, std::string(prompt_title::kError), PromptButtons::Ok, PromptIcon::Warning});
}

RadioImage Session::ImageAsSaved() const
{
    if (!state_.ChangesPending())
        return state_.Image;
    WindowState saved = state_;
    saved.ApplyIfChanged();
    return saved.Image;
}

} // namespace nx5rb
