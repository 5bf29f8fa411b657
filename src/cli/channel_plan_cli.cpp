#include "cli/channel_plan_cli.h"

#include "app/file_commands.h"
#include "cli/arguments.h"
#include "cli/open_for_command.h"
#include "cli/output.h"
#include "editors/channel_plan.h"

#include <algorithm>

#include <QFile>
#include <QString>

namespace nx5rb::cli {

namespace {

constexpr OptionRow kExportOptions[] = {
    {"o", "output", "OUT.csv",
     "write to OUT.csv instead of standard output (\"-\": standard output);\n"
     "an existing OUT.csv that is not a regular file is refused"},
    {"f", "format", "FORMAT", "ours or common"},
};

constexpr OptionRow kImportOptions[] = {
    {"o", "output", "OUT.dat",
     "where the result is saved; an existing OUT.dat that is not a regular\n"
     "file (a device, a pipe, a folder) is refused",
     true},
    {"", "skip-bad", "", "import the good rows even when others are refused"},
    {"", "replace-all", "", "clear every channel the plan does not name"},
};

} // namespace

const CommandSyntax kExportChannelsSyntax = {
    .name = "export-channels",
    .positional = "FILE.dat",
    .summary = "the channel table as CSV",
    .options = kExportOptions,
    .about
    = R"TEXT(Opens FILE.dat as "打开(&O)" does and writes its channels as CSV (UTF-8), one row per existing
channel.

formats:
  ours     (the default) a header row with the grid's captions, every cell as the grid shows it;
           the text starts with a UTF-8 byte-order mark, so that spreadsheets read it as UTF-8
  common   the layout of multi-radio programmers: Location,Name,Frequency,Duplex,Offset,Tone,
           rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,
           Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE. A tone outside the tone list has no name
           there; such losses are listed on standard error.
)TEXT",
};

const CommandSyntax kImportChannelsSyntax = {
    .name = "import-channels",
    .positional = "FILE.dat PLAN.csv",
    .missingPositional = "FILE.dat and PLAN.csv",
    .summary = "a channel plan (CSV) into a data file",
    .options = kImportOptions,
    .about
    = R"TEXT(Opens FILE.dat as "打开(&O)" does and writes the channels of PLAN.csv into it; OUT.dat then holds
FILE.dat's own bytes with only the channel records (0x010-0x80F) replaced (the repair opening
applies elsewhere is not saved). PLAN.csv is UTF-8 (with or without a byte-order mark) or
GB18030/GBK, as spreadsheets on Chinese Windows save it. It is told apart by its header: our own
layout (as export-channels writes it; an empty tone cell is 无) or the common layout (Location,
Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity and, where present,
RxDtcsCode, CrossMode, Mode, Skip, Power; other columns are ignored).

Every row passes the rules of the channel grid: frequencies are moved to the channel raster (a
warning), tones must be in the tone list, and a frequency outside every band of FILE.dat is
refused, never moved to a band edge. Refused rows are listed on standard error with their line
numbers; then nothing is imported and the exit status is non-zero, unless --skip-bad is given
(and some row is good). Channels the plan does not name stay as they are.
)TEXT",
};

namespace {

std::optional<std::string> ReadTextFile(const std::string &path, std::ostream &err)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "nx5rb-cli: " << path << ": " << file.errorString().toStdString() << "\n";
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

void Report(std::ostream &err, const std::string &path, const PlanIssue &issue, const char *kind)
{
    err << "nx5rb-cli: " << path << ":" << issue.line << ": " << kind << IssueText(issue) << "\n";
}

} // namespace

int RunExportChannels(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
                      bool)
{
    const auto line = ParseCommandLine(kExportChannelsSyntax, args, err);
    if (!line)
        return kExitUsage;
    const std::string output = line->Value("output");
    const std::string format = line->Has("format") ? line->Value("format") : "ours";
    if (format != "ours" && format != "common")
        return UsageError(err, "unknown format " + format, HelpText(kExportChannelsSyntax));
    if (!output.empty() && !CheckOutputPath(output, err))
        return kExitFailure;
    const auto state = OpenForCommand(line->Positional().front(), err);
    if (!state)
        return kExitFailure;

    std::vector<ExportLoss> losses;
    const std::string csv
        = ExportChannelPlan(ReadChannels(state->Image, state->FreqAreas),
                            format == "ours" ? PlanLayout::Ours : PlanLayout::Common, &losses);
    for (const ExportLoss &loss : losses)
        err << "nx5rb-cli: channel " << loss.channel
            << ": warning: not in the common layout: " << loss.what << "\n";
    return WriteOutput(output.empty() ? std::string(kStandardOutput) : output, csv, out, err)
        ? kExitOk
        : kExitFailure;
}

int RunImportChannels(const std::vector<std::string> &args, std::ostream &, std::ostream &err, bool)
{
    const auto line = ParseCommandLine(kImportChannelsSyntax, args, err);
    if (!line)
        return kExitUsage;
    const bool skipBad = line->Has("skip-bad");
    const bool replaceAll = line->Has("replace-all");
    const std::string output = line->Value("output");
    const std::vector<std::string> &files = line->Positional();
    const std::string &planPath = files[1];
    if (!CheckOutputPath(output, err))
        return kExitFailure;
    const auto stored = ReadForCommand(files[0], err);
    if (!stored)
        return kExitFailure;
    auto state = OpenStored(*stored, files[0], err);
    if (!state)
        return kExitFailure;
    const std::optional<std::string> text = ReadTextFile(planPath, err);
    if (!text)
        return kExitFailure;

    const ChannelPlan plan = ParseChannelPlan(*text, state->Image, state->FreqAreas, replaceAll);
    for (const PlanIssue &issue : plan.refused)
        Report(err, planPath, issue, "");
    for (const PlanIssue &issue : plan.warnings)
        Report(err, planPath, issue, "warning: ");
    if (!plan.layout)
        return kExitFailure;
    if (!plan.refused.empty() && !skipBad) {
        err << "nx5rb-cli: " << planPath << ": " << plan.refused.size()
            << " rows refused; nothing imported (--skip-bad imports the others)\n";
        return kExitFailure;
    }
    if (plan.good.empty() && !plan.refused.empty()) {
        err << "nx5rb-cli: " << planPath << ": every row refused; nothing to import\n";
        return kExitFailure;
    }
    // The plan is read against the file as the window shows it (repaired); the result is the
    // file's own bytes with only the channel records replaced, so nothing else changes unseen.
    ApplyChannelPlan(plan, state->Image, state->FreqAreas);
    std::string bytes(stored->header.begin(), stored->header.end());
    bytes.append(stored->image.begin(), stored->image.begin() + mm::kChannelTableStart);
    bytes.append(state->Image.begin() + mm::kChannelTableStart,
                 state->Image.begin() + mm::kChannelTableEnd);
    bytes.append(stored->image.begin() + mm::kChannelTableEnd, stored->image.end());
    return WriteFile(output, bytes, err) ? kExitOk : kExitFailure;
}

} // namespace nx5rb::cli
