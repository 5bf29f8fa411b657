#include "app/session.h"

#include "editors/field_table.h"

#include <algorithm>
#include <utility>

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
    return link_.Progress().visible || link_.LinkState() != LinkPhase::Idle;
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
    writeRegion_ = int(WriteBlocks(command).size());
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
    pump_.WaitWhile([this] { return link_.LinkState() != LinkPhase::Idle; });
}

TransferOutcome Session::ReadInto(RadioImage &image, const std::vector<std::uint16_t> &blocks,
                                  TransferCommand command, bool ask)
{
    TransferRequest request;
    request.read = true;
    request.blocks = blocks;
    request.question = std::string(Confirmation(command));
    request.ask = ask;
    checking_ = true;
    link_.SetImage(image);
    const bool started = link_.Start(std::move(request));
    if (started)
        WaitForTheLink();
    link_.SetImage(state_.Image);
    checking_ = false;
    return started ? link_.Outcome() : TransferOutcome::NotStarted;
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

namespace {

bool SameBlock(const RadioImage &a, const RadioImage &b, std::uint16_t block)
{
    return std::equal(a.begin() + block, a.begin() + block + mm::kBlockSize, b.begin() + block);
}

bool Contains(const std::vector<std::uint16_t> &blocks, std::uint16_t block)
{
    return std::find(blocks.begin(), blocks.end(), block) != blocks.end();
}

// The blocks a band-A tune block spans: with the band information, what tells two radios apart.
std::vector<std::uint16_t> TuneBlockA()
{
    std::vector<std::uint16_t> blocks;
    for (mm::Address at = 0; at < mm::kTuneBlockSize; at += mm::kBlockSize)
        blocks.push_back(std::uint16_t(mm::kTuneBlock[0] + at));
    return blocks;
}

} // namespace

std::vector<std::uint16_t> Session::BlocksToSend(const std::vector<std::uint16_t> &region,
                                                 const RadioImage &radio,
                                                 const std::vector<std::uint16_t> &looked,
                                                 const RadioImage *known) const
{
    std::vector<std::uint16_t> send;
    for (const std::uint16_t block : region) {
        // No read ever fetches the band-start records: only a look at them tells what they hold.
        const bool bandStart = block >= mm::kBandStartRecord0 && block < mm::kBandStartEnd;
        const RadioImage *holds = Contains(looked, block) ? &radio : !bandStart ? known : nullptr;
        if (!holds || !SameBlock(*holds, state_.Image, block))
            send.push_back(block);
    }
    return send;
}

void Session::ReportWrite(const WriteSummary &summary)
{
    lastWrite_ = summary;
    // The status line counts against the whole region: a write of what differs sent fewer.
    if (summary.sent == 0 && summary.completed) {
        lastReport_ = {.outcome = TransferOutcome::Completed,
                       .regionBlocks = summary.region,
                       .seconds = std::chrono::duration<double>(wireTime_).count()};
    } else if (!lastReport_.read) {
        lastReport_.regionBlocks = summary.region;
    }
    if (OnWriteFinished)
        OnWriteFinished(summary);
}

TransferOutcome Session::CheckedWrite(TransferCommand command)
{
    const std::vector<int> bands = CalibrationBands(command);
    const bool looks = options_.guard != CalibrationGuard::Off;
    const bool guarded = looks && !bands.empty();
    const bool changesOnly = looks && options_.changedBlocksOnly && MayWriteChangesOnly(command);
    const RadioImage *known = options_.knownRadio;
    const std::vector<std::uint16_t> region = WriteBlocks(command);
    WriteSummary summary;
    summary.region = int(region.size());
    summary.knownRadio = known ? KnownRadioCheck::NotRead : KnownRadioCheck::NotAsked;
    checkedWrite_ = true;
    const auto endWith = [this, command, &summary](TransferOutcome outcome) {
        checkedWrite_ = false;
        summary.completed = outcome == TransferOutcome::Completed;
        lastWrite_ = summary;
        // A write that never started (cancelled, refused, the look failed) moved nothing.
        if (outcome != TransferOutcome::NotStarted && (summary.completed || summary.sent > 0))
            ReportWrite(summary);
        // 写入全部 keeps the window busy for 2 s after it, whatever became of it.
        if (command == TransferCommand::WriteAll)
            pump_.PauseInput(kWriteAllPauseMs);
        return outcome;
    };

    // What the look reads: for a write that sends calibration, what 读取全部 reads (the backup);
    // for a write of changes only, every block of its region; for a known radio, what tells it.
    std::vector<std::uint16_t> looked = guarded ? RadioLookBlocks() : std::vector<std::uint16_t>();
    const auto lookAt = [&looked](const std::vector<std::uint16_t> &blocks) {
        for (const std::uint16_t block : blocks)
            if (!Contains(looked, block))
                looked.push_back(block);
    };
    if (changesOnly)
        lookAt(region);
    if (known)
        lookAt(TuneBlockA());

    RadioImage radio;
    radio.fill(mm::kErased);
    if (!looked.empty()) {
        // The command's question first, then the look into an erased image of its own.
        const TransferOutcome look = ReadInto(radio, looked, command, true);
        if (look == TransferOutcome::NotStarted && command == TransferCommand::WriteAll)
            state_.DataChanged = true; // set before the answer was known
        if (look != TransferOutcome::Completed)
            return endWith(look); // nothing was written
        if (known) {
            const std::vector<std::uint8_t> &info = link_.BandInformation();
            const std::vector<std::uint16_t> tune = TuneBlockA();
            if (!std::equal(info.begin(), info.end(), known->begin() + mm::kFreqAreaBlock,
                            known->begin() + mm::kFreqAreaBlockEnd))
                summary.knownRadio = KnownRadioCheck::OtherBandInformation;
            else if (!std::all_of(tune.begin(), tune.end(), [&](std::uint16_t block) {
                         return SameBlock(radio, *known, block);
                     }))
                summary.knownRadio = KnownRadioCheck::OtherTuneBlock;
            else
                summary.knownRadio = KnownRadioCheck::Same;
        }
    }

    if (guarded) {
        // The backup is the radio's 读取全部 blocks as they came, erased elsewhere: writing it all
        // back restores what was read.
        RadioImage backup;
        backup.fill(mm::kErased);
        for (const std::uint16_t block : RadioLookBlocks())
            std::copy_n(radio.begin() + block, mm::kBlockSize, backup.begin() + block);
        Backup(backup, "radio-before-write-" + std::string(RegionName(command)));

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

    // The image as the write sends it, held against what the radio holds.
    std::vector<std::uint16_t> send = region;
    if (!looked.empty()) {
        ApplyAsWriteDoes(command, state_);
        // A radio that is not the known one gets every block, as without the known image.
        const bool isKnown = summary.knownRadio == KnownRadioCheck::Same;
        summary.changesOnly = known ? isKnown : changesOnly;
        if (summary.changesOnly)
            send = BlocksToSend(region, radio, looked, isKnown ? known : nullptr);
        if (send.empty()) {
            // Nothing differs: the radio already holds what a write would leave in it.
            TransferResult same;
            same.outcome = TransferOutcome::Completed;
            same.blocks = region;
            Finished(same);
            summary.written = true;
            summary.verified = options_.verify;
            return endWith(TransferOutcome::Completed);
        }
    }

    // The write itself; asked only when the look did not ask already. A write of changes sends
    // what differs in the image refreshed above (the write's own refresh then finds nothing
    // pending, or applies the same pages again).
    if (!StartTransferCommand(command, link_, state_, looked.empty(),
                              summary.changesOnly ? std::optional(send) : std::nullopt))
        return endWith(TransferOutcome::NotStarted);
    WaitForTheLink();
    summary.sent = int(lastResult_.blocks.size());
    summary.written = link_.Outcome() == TransferOutcome::Completed;
    if (link_.Outcome() == TransferOutcome::Completed && summary.changesOnly) {
        // The blocks left out hold in the radio what they hold in the image.
        std::vector<std::uint16_t> same;
        for (const std::uint16_t block : region)
            if (!Contains(send, block))
                same.push_back(block);
        state_.MarkSynced(same);
    }
    if (link_.Outcome() != TransferOutcome::Completed || !options_.verify)
        return endWith(link_.Outcome());

    // Read back exactly what went out and compare it field by field.
    const std::vector<std::uint16_t> written = lastResult_.blocks;
    RadioImage readBack = state_.Image;
    if (ReadInto(readBack, written, command, false) != TransferOutcome::Completed) {
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
        summary.verified = true;
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
    // A write without checks reports itself; a checked one once its checks are done.
    if (!result.read && !checkedWrite_) {
        WriteSummary summary;
        summary.sent = int(result.blocks.size());
        summary.region = writeRegion_;
        summary.completed = result.outcome == TransferOutcome::Completed;
        summary.written = summary.completed;
        ReportWrite(summary);
    }
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
