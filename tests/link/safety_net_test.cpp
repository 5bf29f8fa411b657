// The session's safety net against the virtual radio: backups of what is read and of what a read
// or an open replaces, the look at the radio's calibration before a write, and the read-back
// after it.
#include "app/backups.h"
#include "editors/field_table.h"
#include "image/data_file.h"
#include "link_harness.h"

#include <cctype>
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace nx5rb::test {
namespace {

constexpr std::string_view kGuardQuestion = "即将覆盖本机的校准数据（";

std::vector<std::string> BackupsIn(const QTemporaryDir &folder)
{
    std::vector<std::string> names;
    for (const QString &name : QDir(folder.path()).entryList(QDir::Files, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

bool EndsWith(const std::string &text, std::string_view end)
{
    return text.size() >= end.size()
        && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The image a read replaces is backed up as a save would have written it: an edit typed but not
// applied is in the backup, not only an applied one.
TEST(SafetyNet, AReadLeavesABackupOfWhatItReadAndOfTheUnsavedImageItReplaced)
{
    for (const bool applied : {true, false}) {
        SCOPED_TRACE(applied ? "applied edit" : "pending edit");
        QTemporaryDir folder;
        BackupStore store(folder.path().toStdString());
        LinkHarness h;
        h.session.Options().backups = &store;
        h.state.FreqAreas[0].RxLow = 140; // an edit that neither the radio nor a file holds
        h.state.DataChanged = true;
        if (applied)
            h.state.Apply();
        h.Run(TransferCommand::ReadAll);
        ASSERT_EQ(h.link.Outcome(), TransferOutcome::Completed);

        const std::vector<std::string> names = BackupsIn(folder);
        ASSERT_EQ(names.size(), 2u);
        const auto path = [&folder](const std::string &name) {
            return QDir(folder.path()).filePath(QString::fromStdString(name)).toStdString();
        };
        EXPECT_TRUE(EndsWith(names[0], "_before-read-all.dat")) << names[0];
        EXPECT_TRUE(EndsWith(names[1], "_read-all.dat")) << names[1];
        EXPECT_EQ(ImageFreqAreas(ReadDataFile(path(names[0])).image)[0].RxLow, 140);
        EXPECT_EQ(ReadDataFile(path(names[1])).image, h.state.Image);
        EXPECT_NE(h.state.FreqAreas[0].RxLow, 140) << "the read replaced the edit in the views";
    }
}

TEST(SafetyNet, ABackupThatCannotBeWrittenIsSaidOnceAndStopsNothing)
{
    QTemporaryDir folder;
    const QString blocked = folder.filePath("blocked");
    QFile file(blocked); // a file where the backup folder should be
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    BackupStore store(blocked.toStdString());
    LinkHarness h;
    h.session.Options().backups = &store;
    h.Run(TransferCommand::ReadA);
    h.Run(TransferCommand::ReadB);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Completed);
    int warnings = 0;
    for (const PromptMessage &message : h.prompt.Shown) {
        if (!message.text.starts_with("自动备份失败"))
            continue;
        ++warnings;
        EXPECT_NE(message.text.find(blocked.toStdString()), std::string::npos) << message.text;
        EXPECT_EQ(message.text.find('\n'), std::string::npos) << message.text;
    }
    EXPECT_EQ(warnings, 1);
}

struct GuardCase
{
    const char *name;
    CalibrationGuard guard;
    bool opened; // the image comes from a file (the start-up image saved), not from start-up
    PromptAnswer answer; // to the guard's question, when asked
    bool asked;
    bool written;
};

constexpr std::string_view kPlaceholderLine = "\n当前数据的校准值未从电台读取，也未从文件打开。";

// The tool's start-up calibration is not the radio's: writing it would lose the radio's own.
TEST(SafetyNet, TheGuardStopsAWriteOverAnotherRadiosCalibration)
{
    const GuardCase cases[] = {
        {"asked, cancelled", CalibrationGuard::Ask, false, PromptAnswer::Cancel, true, false},
        {"asked, confirmed", CalibrationGuard::Ask, false, PromptAnswer::Ok, true, true},
        {"opened, asked", CalibrationGuard::Ask, true, PromptAnswer::Cancel, true, false},
        {"refused", CalibrationGuard::Refuse, false, PromptAnswer::Ok, false, false},
        {"overwritten", CalibrationGuard::Overwrite, false, PromptAnswer::Ok, false, true},
    };
    for (const GuardCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        LinkHarness h;
        if (c.opened) {
            const std::string file = folder.filePath("other.dat").toStdString();
            ASSERT_FALSE(WriteDataFile(file, h.state.Image));
            ASSERT_EQ(h.session.Open(file), OpenResult::Opened);
        }
        h.prompt = RecordingPrompt({PromptAnswer::Ok, c.answer});
        h.session.Options().guard = c.guard;
        const RadioImage before = h.radioPort.Radio().Memory();
        const TransferOutcome outcome = h.session.RunTransferToEnd(TransferCommand::WriteA);
        const PromptMessage *question = nullptr;
        for (const PromptMessage &message : h.prompt.Shown)
            if (message.text.starts_with(kGuardQuestion))
                question = &message;
        ASSERT_EQ(question != nullptr, c.asked);
        if (question) {
            EXPECT_EQ(question->buttons, PromptButtons::OkCancel);
            EXPECT_EQ(question->defaultButton, PromptAnswer::Cancel);
            EXPECT_EQ(question->text.ends_with(kPlaceholderLine), !c.opened) << question->text;
        }
        EXPECT_EQ(outcome == TransferOutcome::Completed, c.written);
        const RadioImage &radio = h.radioPort.Radio().Memory();
        EXPECT_EQ(radio == before, !c.written) << "the radio keeps its bytes unless confirmed";
        if (c.written) {
            const mm::Address tune = mm::kTuneBlock[0];
            EXPECT_TRUE(std::equal(radio.begin() + tune, radio.begin() + tune + mm::kTuneBlockSize,
                                   h.state.Image.begin() + tune));
        }
        EXPECT_EQ(h.radioPort.Radio().SessionsCompleted(), c.written ? 2 : 1)
            << "the look at the radio, then the write";
    }
}

// The backup before a write is the radio as 读取全部 reads it and nothing else, so that opening
// it and writing it all back restores what was read. The guard judges only the bands the command
// writes: band A as the radio has it goes, bands B and C of another radio do not matter.
TEST(SafetyNet, TheBackupBeforeAWriteIsTheRadioAndWritesItBack)
{
    for (const TransferCommand command : {TransferCommand::WriteA, TransferCommand::WriteAll}) {
        SCOPED_TRACE(RegionName(command));
        QTemporaryDir folder;
        BackupStore store(folder.path().toStdString());
        LinkHarness h;
        h.session.Options().guard = CalibrationGuard::Refuse;
        h.session.Options().backups = &store;
        const RadioImage radio = h.radioPort.Radio().Memory();
        const mm::Address tuneA = mm::kTuneBlock[0];
        std::copy_n(radio.begin() + tuneA, mm::kTuneBlockSize, h.state.Image.begin() + tuneA);
        h.state.AnalyseAll();
        h.state.MarkSynced();

        const bool wrote = h.session.RunTransferToEnd(command) == TransferOutcome::Completed;
        EXPECT_EQ(wrote, command == TransferCommand::WriteA);
        const std::vector<std::string> names = BackupsIn(folder);
        ASSERT_EQ(names.size(), 1u);
        EXPECT_TRUE(
            EndsWith(names[0], "_radio-before-write-" + std::string(RegionName(command)) + ".dat"))
            << names[0];
        RadioImage expected;
        expected.fill(mm::kErased);
        for (const std::uint16_t block : RadioLookBlocks())
            std::copy_n(radio.begin() + block, mm::kBlockSize, expected.begin() + block);
        const std::string backup = folder.filePath(QString::fromStdString(names[0])).toStdString();
        EXPECT_EQ(ReadDataFile(backup).image, expected);

        // Opened and written all back over a radio that lost its band information and tuning.
        for (const std::uint16_t block : RadioLookBlocks())
            std::fill_n(h.radioPort.Radio().Memory().begin() + block, mm::kBlockSize, 0x5A);
        h.session.Options().guard = CalibrationGuard::Off;
        ASSERT_EQ(h.session.Open(backup), OpenResult::Opened);
        ASSERT_EQ(h.session.RunTransferToEnd(TransferCommand::WriteAll),
                  TransferOutcome::Completed);
        const RadioImage &restored = h.radioPort.Radio().Memory();
        for (const std::uint16_t block : RadioLookBlocks())
            EXPECT_TRUE(std::equal(restored.begin() + block,
                                   restored.begin() + block + mm::kBlockSize,
                                   radio.begin() + block))
                << "block " << block;
    }
}

// A status text with its seconds as "T": "写入完成 (5 块, 0.4 秒)" -> "写入完成 (5 块, T 秒)".
std::string WithoutSeconds(std::string text)
{
    const std::size_t unit = text.rfind(" 秒");
    if (unit == std::string::npos)
        return text;
    std::size_t from = unit;
    while (from > 0
           && (std::isdigit(static_cast<unsigned char>(text[from - 1])) || text[from - 1] == '.'))
        --from;
    return text.replace(from, unit - from, "T");
}

struct ChangesOnlyCase
{
    const char *name;
    TransferCommand command;
    bool changesOnly; // 只写入有改动的数据块
    CalibrationGuard guard;
    mm::Address edited; // a byte of the image that differs from the radio's; 0: none
    std::string_view said;
    void (*fault)(RadioFaults &) = nullptr;
};

// The window's writes against a radio that holds the image: what goes out and what it says.
TEST(SafetyNet, AWriteSendsWhatTheRadioLacksAndSaysSo)
{
    const mm::Address tuneValue = mm::kTuneBlock[0] + mm::kTuneHighPower + 1;
    const ChangesOnlyCase cases[] = {
        {"a tune value", TransferCommand::WriteA, true, CalibrationGuard::Ask, tuneValue,
         "写入 1/5 块（其余与电台相同），已校验 (T 秒)"},
        {"switched off", TransferCommand::WriteA, false, CalibrationGuard::Ask, tuneValue,
         "写入完成，已校验 (5 块, T 秒)"},
        {"no look", TransferCommand::WriteA, true, CalibrationGuard::Off, tuneValue,
         "写入完成，已校验 (5 块, T 秒)"},
        {"nothing differs", TransferCommand::WriteAll, true, CalibrationGuard::Ask, 0,
         "写入 0/20 块（全部与电台相同） (T 秒)"},
        {"an area", TransferCommand::Write, true, CalibrationGuard::Ask, mm::kFreqAreaRecord[2],
         "写入 1/5 块（其余与电台相同），已校验 (T 秒)"},
        {"channels stay whole", TransferCommand::WriteChannelInfo, true, CalibrationGuard::Ask,
         mm::ChannelRecord(3) + mm::kChReserved, "写入完成，已校验 (128 块, T 秒)"},
        {"given up", TransferCommand::WriteChannelInfo, true, CalibrationGuard::Ask, 0,
         "已中止：2/128 块已写入", [](RadioFaults &f) { f.NakOnWrite = 3; }},
        {"stored wrongly", TransferCommand::WriteA, true, CalibrationGuard::Ask, tuneValue,
         "写入校验失败 (T 秒)", [](RadioFaults &f) { f.CorruptWrite = 1; }},
    };
    for (const ChangesOnlyCase &c : cases) {
        SCOPED_TRACE(c.name);
        LinkHarness h;
        h.session.Options().guard = c.guard;
        h.session.Options().verify = true;
        h.session.Options().changedBlocksOnly = c.changesOnly;
        if (c.fault)
            c.fault(h.radioPort.Radio().Faults);
        h.state.Image = h.radioPort.Radio().Memory();
        if (c.edited)
            h.state.Image[c.edited] ^= 0x01;
        h.state.AnalyseAll();
        h.state.MarkSynced();
        std::vector<std::string> said;
        // What the status line says, its time left out.
        h.session.OnWriteFinished = [&said, &h](const WriteSummary &) {
            const std::string text = TransferStatusText(h.session.LastReport());
            said.push_back(WithoutSeconds(text));
        };

        const bool completed = h.session.RunTransferToEnd(c.command) == TransferOutcome::Completed;
        EXPECT_EQ(said, std::vector<std::string> {std::string(c.said)});
        EXPECT_EQ(h.radioPort.Radio().BlocksWritten(), h.session.LastWrite().sent);
        ASSERT_EQ(completed, !c.fault);
        if (completed) {
            EXPECT_EQ(h.radioPort.Radio().Memory(), h.state.Image);
            EXPECT_FALSE(h.state.UnsavedChanges()) << "the radio holds the image";
        }
    }
}

TEST(SafetyNet, AFailedLookAtTheRadioWritesNothing)
{
    LinkHarness h({PromptAnswer::Ok, PromptAnswer::Cancel});
    h.session.Options().guard = CalibrationGuard::Overwrite;
    h.radioPort.Radio().Faults.StallAfter = 2;
    const RadioImage before = h.radioPort.Radio().Memory();
    h.session.RunTransfer(TransferCommand::WriteAll);
    h.timer1.Fire(); // the radio went silent: "检测连接！重试或取消？", answered Cancel
    h.Pump();
    EXPECT_EQ(h.radioPort.Radio().Memory(), before);
    EXPECT_EQ(h.radioPort.Radio().BlocksWritten(), 0);
    EXPECT_EQ(h.link.Outcome(), TransferOutcome::Abandoned);
}

// A radio that stores one byte wrongly: the read-back names the field, and the write failed.
TEST(SafetyNet, ReadBackNamesTheFieldTheRadioStoredWrongly)
{
    LinkHarness h;
    h.session.Options().verify = true;
    h.radioPort.Radio().Faults.CorruptWrite = 2; // band A's low power, its fourth point
    const TransferOutcome outcome = h.session.RunTransferToEnd(TransferCommand::WriteA);
    EXPECT_NE(outcome, TransferOutcome::Completed);
    ASSERT_FALSE(h.prompt.Shown.empty());
    const std::string &report = h.prompt.Shown.back().text;
    const int written = h.state.Image[mm::kTuneBlock[0] + mm::kTuneLowPower + 3];
    EXPECT_NE(report.find("频段-A 低功率 点 4：写入 " + std::to_string(written) + "，读回 "
                          + std::to_string(written - 2)),
              std::string::npos)
        << report;
    EXPECT_TRUE(h.state.UnsavedChanges()) << "the radio does not hold what the image does";
}

TEST(SafetyNet, ReadBackAsksForExactlyTheBlocksWritten)
{
    LinkHarness h;
    h.session.Options().verify = true;
    ASSERT_EQ(h.session.RunTransferToEnd(TransferCommand::WriteAll), TransferOutcome::Completed);
    std::vector<std::uint16_t> written;
    std::vector<std::uint16_t> readBack;
    for (const FrameRecord &frame : h.radioPort.Radio().FrameLog()) {
        if (frame.Kind == FrameKind::Write)
            written.push_back(frame.Address);
        if (frame.Kind == FrameKind::Read)
            readBack.push_back(frame.Address);
    }
    EXPECT_EQ(written.size(), 20u);
    EXPECT_EQ(readBack, written);
    EXPECT_FALSE(h.state.UnsavedChanges());
}

// A radio that refuses a block or stops answering part-way, and Retry: the write starts again,
// and its read-back compares the blocks the radio now holds with what was sent. The image's band
// limits are not the radio's, so its channels read differently under the radio's limits.
TEST(SafetyNet, AWriteRetriedAfterAFaultReadsBackAsWritten)
{
    const TransferCommand writes[] = {
        TransferCommand::Write,   TransferCommand::WriteA,      TransferCommand::WriteB,
        TransferCommand::WriteC,  TransferCommand::WriteOption, TransferCommand::WriteChannelInfo,
        TransferCommand::WriteAll};
    for (const TransferCommand command : writes) {
        for (const bool stall : {false, true}) {
            SCOPED_TRACE(std::string(RegionName(command)) + (stall ? ", stalled" : ", refused"));
            LinkHarness h;
            h.Run(TransferCommand::ReadChannelInfo);
            h.state.FreqAreas[0].RxLow = 140;
            h.state.FreqAreas[0].RxHigh = 150;
            h.state.Apply();
            h.prompt = RecordingPrompt({PromptAnswer::Ok, PromptAnswer::Retry});
            h.timeOutWhenSilent = true;
            h.session.Options().verify = true;
            RadioFaults &faults = h.radioPort.Radio().Faults;
            (stall ? faults.StallAfter : faults.NakOnWrite) = 3;
            h.radioPort.Radio().ClearFrameLog();

            EXPECT_EQ(h.session.RunTransferToEnd(command), TransferOutcome::Completed);
            ASSERT_EQ(h.prompt.Shown.size(), 2u) << h.prompt.Shown.back().text;
            EXPECT_EQ(h.prompt.Shown[1].buttons, PromptButtons::RetryCancel);
            std::vector<std::uint16_t> written;
            for (const FrameRecord &frame : h.radioPort.Radio().FrameLog())
                if (frame.Kind == FrameKind::Write
                    && std::find(written.begin(), written.end(), frame.Address) == written.end())
                    written.push_back(frame.Address);
            EXPECT_FALSE(written.empty());
            const RadioImage &radio = h.radioPort.Radio().Memory();
            for (const std::uint16_t block : written)
                EXPECT_TRUE(std::equal(radio.begin() + block,
                                       radio.begin() + block + mm::kBlockSize,
                                       h.state.Image.begin() + block))
                    << "block " << block;
        }
    }
}

} // namespace
} // namespace nx5rb::test
