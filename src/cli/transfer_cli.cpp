#include "cli/transfer_cli.h"

#include "app/file_commands.h"
#include "app/port_select.h"
#include "app/qt_session.h"
#include "app/transfer_commands.h"
#include "cli/arguments.h"
#include "cli/console_prompt.h"
#include "cli/core_application.h"
#include "cli/open_for_command.h"
#include "cli/output.h"

#include <optional>

namespace nx5rb::cli {

namespace {

constexpr OptionRow kPortOption = {"p", "port", "PORT", "the port the radio is on", true};
constexpr OptionRow kRetryOption
    = {"r", "retry", "N",
       "answer \"检测连接！重试或取消？\" with Retry up to N times, then Cancel\n"
       "(default 0: a failing transfer ends at once)"};

constexpr OptionRow kReadOptions[] = {
    kPortOption,
    {"o", "output", "OUT.dat",
     "where the image is saved (an existing OUT.dat that is not a regular\n"
     "file is refused before the radio is asked)",
     true},
    {"b", "base", "FILE.dat", "start from this data file instead of the start-up image"},
    kRetryOption,
    {"t", "trace", "FILE",
     "write every byte sent and received to FILE (a serial trace that\n"
     "nx5rb-sim --replay can answer from); not OUT.dat nor FILE.dat"},
    {"", "no-backup", "",
     "no automatic backup (by default the image read, and an image with unsaved\n"
     "changes about to be replaced, are saved under the user's data folder,\n"
     "the path printed on standard error)"},
};

constexpr OptionRow kWriteOptions[] = {
    kPortOption,
    kRetryOption,
    {"t", "trace", "FILE", "write every byte sent and received to FILE (not FILE.dat)"},
    {"", "no-verify", "", "do not read the written blocks back to compare them"},
    {"", "overwrite-calibration", "",
     "write even when more than a quarter of a band's 64 tune values differ\n"
     "from the radio's own calibration (refused otherwise)"},
    {"", "no-backup", "", "no automatic backup of the radio's blocks read before the write"},
    {"", "full", "", "send every block of the region, whatever the radio holds"},
    {"", "since", "KNOWN.dat",
     "the radio is known to hold KNOWN.dat (a file that reads of this radio\n"
     "saved, holding its band information, band A's tune block and the bytes\n"
     "of REGION): when the radio's band information and band A tune block\n"
     "equal KNOWN.dat's, only the blocks where FILE.dat differs from KNOWN.dat\n"
     "are sent; otherwise every block is, with the reason on standard error.\n"
     "Anything that changed the radio since KNOWN.dat was read (its own keys,\n"
     "another tool) is not seen: use it only where nothing else writes to\n"
     "the radio. Not with --full."},
};

} // namespace

const CommandSyntax kReadSyntax = {
    .name = "read",
    .positional = "REGION",
    .summary = "read a region of the radio into a data file",
    .options = kReadOptions,
    .about
    = R"TEXT(Starts from the state the window has after start-up (or from FILE.dat opened as "打开(&O)" opens
it), runs the read command of REGION against the radio on PORT, and when the transfer completes
saves the image to OUT.dat as "保存(&S)" does. On any failure OUT.dat is not created or changed,
a message goes to standard error and the exit status is non-zero.

REGION: all | area | band-a | band-b | band-c | message | channels
        (读取全部, the frequency-area page, the three tune pages, the power-on message page,
         the channel page)
PORT:   a device path (/dev/ttyUSB0, /dev/pts/7), COM1..COM4, or "virtual" (the built-in
        virtual radio)
)TEXT",
};

const CommandSyntax kWriteSyntax = {
    .name = "write",
    .positional = "REGION FILE.dat",
    .missingPositional = "REGION or FILE.dat",
    .summary = "write a region of a data file to the radio",
    .options = kWriteOptions,
    .about
    = R"TEXT(Opens FILE.dat as "打开(&O)" does, then runs the write command of REGION exactly as its button
does (a write-all always applies the pages first; the frequency-area write applies them when the
lists or values changed).

A write that sends calibration (all, band-a, band-b, band-c) first reads what "read all" reads
of the radio (backed up as it came): when more than a quarter of the 64 tune values of a band it
writes differ from the file's, the write is refused (another radio's calibration would be lost)
unless --overwrite-calibration is given. After
the write every block sent is read back and compared; a difference is reported by field and the
write counts as failed. Exits 0 when the write completed and read back as written.

The frequency-area, band and write-all writes send only the blocks whose bytes differ from what
that look just read of the radio (the area write reads its five blocks first), and read back only
those; when none differs nothing is written. The radio ends as after a write of every block.
Channel and message writes send every block unless --since is given. A line on standard error
says how many blocks were written and read back.

REGION: all | area | band-a | band-b | band-c | message | channels
        (写入全部, the frequency-area page, the three tune pages, the power-on message page,
         the channel page)
PORT:   a device path (/dev/ttyUSB0, /dev/pts/7), COM1..COM4, or "virtual"
)TEXT",
};

namespace {

// Enough for a flaky cable; a radio that fails more often than this needs a look.
constexpr int kMaxRetries = 100;

struct TransferArgs
{
    std::string region;
    std::string port;
    std::string output;
    std::string base;
    std::string file;
    int retries = 0;
    std::string trace;
    std::string since;
    bool full = false;
    bool backups = true;
    bool verify = true;
    bool overwriteCalibration = false;
};

// Parses REGION, the options and, for a write, FILE.dat.
std::optional<TransferArgs> ParseArgs(const std::vector<std::string> &args, bool read,
                                      std::ostream &err)
{
    const CommandSyntax &syntax = read ? kReadSyntax : kWriteSyntax;
    const auto line = ParseCommandLine(syntax, args, err);
    if (!line)
        return std::nullopt;
    TransferArgs parsed;
    parsed.region = line->Positional()[0];
    if (!read)
        parsed.file = line->Positional()[1];
    parsed.port = line->Value("port");
    parsed.trace = line->Value("trace");
    parsed.backups = !line->Has("no-backup");
    if (read) {
        parsed.output = line->Value("output");
        parsed.base = line->Value("base");
    } else {
        parsed.verify = !line->Has("no-verify");
        parsed.overwriteCalibration = line->Has("overwrite-calibration");
        parsed.full = line->Has("full");
        parsed.since = line->Value("since");
    }
    const std::string help = HelpText(syntax);
    if (const std::string retry = line->Value("retry"); !retry.empty()) {
        const auto retries = NumberIn(retry, 0, kMaxRetries);
        if (!retries) {
            UsageError(err, "--retry needs a number from 0 to " + std::to_string(kMaxRetries),
                       help);
            return std::nullopt;
        }
        parsed.retries = *retries;
    }
    if (parsed.full && !parsed.since.empty()) {
        UsageError(err, "--since and --full exclude each other", help);
        return std::nullopt;
    }
    // The trace is opened first: onto the command's own file it would destroy it.
    for (const std::string *file : {&parsed.output, &parsed.base, &parsed.file, &parsed.since})
        if (!parsed.trace.empty() && !file->empty() && SameFile(parsed.trace, *file)) {
            UsageError(err, "--trace " + parsed.trace + " is " + *file + ", a file of the command",
                       help);
            return std::nullopt;
        }
    return parsed;
}

// One transfer command on a fresh start-up state, as the window would run it, with the safety
// net of the command line: backups (unless --no-backup), the calibration guard refusing unless
// --overwrite-calibration, every write read back (unless --no-verify).
class TransferSession
{
public:
    // The session answers the command's confirmation and the open's question with OK, and the
    // connection question with Retry `--retry` times.
    TransferSession(const TransferArgs &args, TransferCommand command, std::ostream &err,
                    bool showProgress, const RadioImage *known = nullptr)
        : port_(args.port)
        , prompt_(err, args.port,
                  {.retries = args.retries,
                   .confirmed
                   = {std::string(Confirmation(command)), std::string(file_text::kConfirmOpen)}})
        , session_(Setup(args, backups_, known), prompt_)
        , err_(err)
    {
        // Which device a numbered port stands for depends on what is plugged in now: say it.
        const PortSelection &port = session_.Ports();
        if (port.Device.empty() && !port.NumberedDevice.empty())
            err_ << "nx5rb-cli: port " << port.PortName() << " is " << port.NumberedDevice << "\n";
        if (showProgress)
            Tool().OnProgress = [this] { ShowProgress(); };
        Tool().OnBackup
            = [this](const std::string &path) { err_ << "nx5rb-cli: backup: " << path << "\n"; };
    }

    Session &Tool() { return session_.Get(); }
    // Opens a data file as "打开(&O)" does, its messages about the file.
    bool Open(const std::string &path)
    {
        prompt_.SetContext(path);
        const bool opened = Tool().Open(path) == OpenResult::Opened;
        prompt_.SetContext(port_);
        return opened;
    }
    // Saves the image as "保存(&S)" does, its messages about the file.
    bool Save(const std::string &path)
    {
        prompt_.SetContext(path);
        return Tool().Save(path);
    }
    // Why the trace file asked for cannot be written; empty when all is well.
    const std::string &TraceFailure() const { return session_.TraceFailure(); }

    // Runs the command to its end; true when the transfer (and every check of it) succeeded.
    bool Run(TransferCommand command)
    {
        const TransferOutcome outcome = Tool().RunTransferToEnd(command);
        if (!IsRead(command))
            ReportWrite(Tool().LastWrite(), outcome == TransferOutcome::Completed);
        if (outcome == TransferOutcome::Completed) {
            if (const int retries = prompt_.RetriesTaken(); retries > 0)
                err_ << "nx5rb-cli: the transfer completed after " << retries
                     << (retries == 1 ? " retry\n" : " retries\n");
            return true;
        }
        if (const std::string &reason = Tool().LinkLayer().LastPortError(); !reason.empty()) {
            // The port never opened: nothing was sent, and that is the whole story.
            err_ << "nx5rb-cli: " << session_.Port().CommPortName()
                 << ": cannot open the port: " << reason;
            if (!session_.Port().OpenFailureHint().empty())
                err_ << " (no rights to the device: join its group, e.g. sudo usermod -aG dialout "
                        "$USER, then log in again)";
            err_ << "\n";
            return false;
        }
        if (const TransferResult &result = Tool().LastResult(); result.WrotePartly())
            err_ << "nx5rb-cli: " << result.blocks.size() << " of " << result.planned
                 << " blocks were written: the radio now holds a mix of old and new data\n";
        else
            err_ << "nx5rb-cli: the transfer did not complete\n";
        return false;
    }

private:
    static QtSessionSetup Setup(const TransferArgs &args, BackupStore &backups,
                                const RadioImage *known)
    {
        QtSessionSetup setup;
        setup.port = ParsePortArgument(args.port).value_or(PortSelection());
        setup.pausesInput = false; // no window to keep busy after a write-all
        setup.options.guard
            = args.overwriteCalibration ? CalibrationGuard::Overwrite : CalibrationGuard::Refuse;
        setup.options.verify = args.verify;
        setup.options.backups = args.backups ? &backups : nullptr;
        setup.options.changedBlocksOnly = !args.full;
        setup.options.knownRadio = known;
        setup.tracePath = args.trace;
        return setup;
    }

    // Why a known radio was not taken as the radio on the port, and what the write moved.
    void ReportWrite(const WriteSummary &write, bool completed)
    {
        if (!write.written && write.sent == 0)
            return; // the write never started: its own failure says why
        switch (write.knownRadio) {
        case KnownRadioCheck::OtherBandInformation:
        case KnownRadioCheck::OtherTuneBlock:
            err_ << "nx5rb-cli: the radio is not the one --since describes (its "
                 << (write.knownRadio == KnownRadioCheck::OtherTuneBlock ? "band A tune block"
                                                                         : "band information")
                 << " differs): every block of the region is written\n";
            break;
        case KnownRadioCheck::NotAsked:
        case KnownRadioCheck::Same:
        case KnownRadioCheck::NotRead:
            break;
        }
        if (!completed)
            return;
        err_ << "nx5rb-cli: wrote " << write.sent << " of " << write.region << " blocks";
        if (write.changesOnly && write.sent < write.region)
            err_ << (write.sent == 0 ? " (the radio already held every byte)"
                                     : " (the others already held the same bytes)");
        if (write.verified && write.sent > 0)
            err_ << ", read back " << write.sent << " as written";
        err_ << "\n";
    }

    void ShowProgress()
    {
        const LinkProgress &progress = Tool().LinkLayer().Progress();
        if (progress.visible)
            err_ << "\r" << progress.label << " " << progress.blocksDone << "/"
                 << progress.blocksTotal << std::flush;
        else
            err_ << "\r\033[K" << std::flush;
    }

    // The transfers run on an event loop: serial bytes and timers are events.
    CoreApplicationIfNone application_;
    std::string port_;
    ConsolePrompt prompt_;
    BackupStore backups_;
    QtSession session_;
    std::ostream &err_;
};

std::optional<TransferCommand> Region(const std::string &region, bool read, std::ostream &err)
{
    const auto command = CommandForRegion(region, read);
    if (!command)
        UsageError(err, "unknown region " + region, HelpText(read ? kReadSyntax : kWriteSyntax));
    return command;
}

} // namespace

int RunRead(const std::vector<std::string> &args, std::ostream &, std::ostream &err,
            bool showProgress)
{
    const auto parsed = ParseArgs(args, true, err);
    if (!parsed)
        return kExitUsage;
    const auto command = Region(parsed->region, true, err);
    if (!command)
        return kExitUsage;
    if (!CheckOutputPath(parsed->output, err))
        return kExitFailure;

    TransferSession session(*parsed, *command, err, showProgress);
    if (!session.TraceFailure().empty()) {
        err << "nx5rb-cli: " << parsed->trace << ": " << session.TraceFailure() << "\n";
        return kExitFailure;
    }
    if (!parsed->base.empty() && !session.Open(parsed->base))
        return kExitFailure;
    if (!session.Run(*command))
        return kExitFailure;
    return session.Save(parsed->output) ? kExitOk : kExitFailure;
}

int RunWrite(const std::vector<std::string> &args, std::ostream &, std::ostream &err,
             bool showProgress)
{
    const auto parsed = ParseArgs(args, false, err);
    if (!parsed)
        return kExitUsage;
    const auto command = Region(parsed->region, false, err);
    if (!command)
        return kExitUsage;
    std::optional<RadioImage> known;
    if (!parsed->since.empty()) {
        // The file as it was saved: what the radio held then, byte for byte.
        const auto since = ReadForCommand(parsed->since, err);
        if (!since)
            return kExitFailure;
        known = since->image;
    }

    // A file that cannot be written is said here, once and in English, before any port or trace
    // is opened.
    if (!ReadForCommand(parsed->file, err))
        return kExitFailure;
    TransferSession session(*parsed, *command, err, showProgress, known ? &*known : nullptr);
    if (!session.TraceFailure().empty()) {
        err << "nx5rb-cli: " << parsed->trace << ": " << session.TraceFailure() << "\n";
        return kExitFailure;
    }
    if (!session.Open(parsed->file))
        return kExitFailure;
    return session.Run(*command) ? kExitOk : kExitFailure;
}

} // namespace nx5rb::cli
