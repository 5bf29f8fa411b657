// nx5rb-cli read and write against nx5rb-sim on a pseudo-terminal, as a user runs them from a
// shell: exit status, the files left behind, the messages on standard error.
#include "e2e_rig.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace nx5rb::test {
namespace {

constexpr std::string_view kCheckTimeout = "检测连接！重新或取消？";
constexpr std::string_view kCheckConnection = "检测连接！";

QJsonObject Json(const std::string &text)
{
    QJsonParseError error {};
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size())), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

int Occurrences(const std::string &text, std::string_view what)
{
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++count;
    return count;
}

class CliEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ProgramRun exported = RunProgram(kSimProgram, {"--export", factoryPath});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        factory = ReadImage(factoryPath);
    }

    // The pages of a data file as nx5rb-cli dump prints them.
    QJsonObject Dump(const std::string &path)
    {
        const ProgramRun dump = RunProgram(kCliProgram, {"dump", path});
        EXPECT_EQ(dump.exitCode, 0) << dump.err;
        return Json(dump.out);
    }

    TempFolder folder;
    const std::string factoryPath = folder.Path("factory.dat");
    const std::string radioPath = folder.Path("radio.dat");
    const std::string outPath = folder.Path("out.dat");
    RadioImage factory {};
};

TEST_F(CliEndToEnd, ReadAllThenDumpShowsTheRadiosAreasAndTuningWithTheToolsOwnRest)
{
    SimRadio sim(radioPath);
    ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
    const ProgramRun read = RunProgram(
        kCliProgram, {"read", "all", "--port", sim.Terminal(), "-o", outPath, "--no-backup"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.err, "");

    const std::string startUpPath = folder.Path("start-up.dat");
    ASSERT_FALSE(WriteDataFile(startUpPath, WindowState().Image));
    const QJsonObject pages = Dump(outPath);
    const QJsonObject radio = Dump(factoryPath);
    const QJsonObject startUp = Dump(startUpPath);
    ASSERT_FALSE(pages.isEmpty());
    for (const char *key : {"areas", "work_bands_code", "work_bands_item", "work_channels", "tune",
                            "modulation", "max_offset"})
        EXPECT_EQ(pages.value(key), radio.value(key)) << key;
    for (const char *key : {"message", "channels"})
        EXPECT_EQ(pages.value(key), startUp.value(key)) << key;
    EXPECT_NE(pages.value("tune"), startUp.value("tune")) << "the read changed the tune pages";

    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

TEST_F(CliEndToEnd, WriteChannelsSendsTheFilesChannelTableAndNothingElse)
{
    // A file that differs from the radio inside the channel table and outside it.
    RadioImage file = factory;
    const mm::Address flags = mm::ChannelRecord(1) + mm::kChFlags;
    file[flags] ^= mm::kFlagScan;
    file[mm::kPowerOnMsg] ^= 1;
    const std::string filePath = folder.Path("FILE.dat");
    ASSERT_FALSE(WriteDataFile(filePath, file));

    SimRadio sim(radioPath);
    ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
    const ProgramRun write = RunProgram(
        kCliProgram, {"write", "channels", "--port", sim.Terminal(), filePath, "--no-backup"});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(write.err, "nx5rb-cli: wrote 128 of 128 blocks, read back 128 as written\n");

    ASSERT_EQ(sim.Stop(), 0) << sim.Log();
    const RadioImage radio = ReadImage(radioPath);
    EXPECT_EQ(MovedOnly(radio, file, factory, {{mm::kChannelTableStart, mm::kChannelTableEnd}}),
              "");
    EXPECT_EQ(radio[flags], file[flags]);
}

TEST_F(CliEndToEnd, RadioThatNeverAnswersFailsTheReadAndLeavesNoFile)
{
    SimRadio sim(radioPath, {"--never-answer-entry"});
    ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
    const ProgramRun read
        = RunProgram(kCliProgram, {"read", "all", "--port", sim.Terminal(), "-o", outPath});
    // Three resends after a second each, then the time-out prompt, answered Cancel.
    EXPECT_GT(read.exitCode, 0) << read.err;
    EXPECT_FALSE(std::filesystem::exists(outPath));
    EXPECT_EQ(Occurrences(read.err, kCheckTimeout), 1) << read.err;
    EXPECT_NE(read.err.find("the transfer did not complete"), std::string::npos) << read.err;
    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

// A flaky cable: the radio refuses one write; --retry answers the question as a person would.
TEST_F(CliEndToEnd, RetrySurvivesOneRefusedBlock)
{
    for (const char *retries : {"0", "1"}) {
        SCOPED_TRACE(retries);
        const bool survives = std::string(retries) != "0";
        const std::string filePath = folder.Path("FILE.dat");
        ASSERT_FALSE(WriteDataFile(filePath, factory));
        SimRadio sim(radioPath, {"--nak-on-write", "2"});
        ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
        const ProgramRun write = RunProgram(
            kCliProgram,
            {"write", "area", "--port", sim.Terminal(), "--retry", retries, "--full", filePath});
        EXPECT_EQ(write.exitCode == 0, survives) << write.err;
        EXPECT_EQ(Occurrences(write.err, kCheckConnection), 1) << write.err;
        EXPECT_EQ(Occurrences(write.err, "completed after 1 retry"), survives ? 1 : 0) << write.err;
        // Given up part-way: the block that went out before the refusal is in the radio.
        EXPECT_EQ(Occurrences(write.err,
                              "nx5rb-cli: 1 of 5 blocks were written: the radio now "
                              "holds a mix of old and new data\n"),
                  survives ? 0 : 1)
            << write.err;
        EXPECT_EQ(sim.Stop(), 0) << sim.Log();
    }
}

struct StandardOutputCase
{
    const char *name;
    std::vector<std::string> args; // FILE stands for a data file
    const char *redirect; // of the shell
    int status;
    int error = 0; // the system's reason given
};

void PrintTo(const StandardOutputCase &c, std::ostream *out)
{
    *out << c.name;
}

class CliStandardOutput : public CliEndToEnd,
                          public ::testing::WithParamInterface<StandardOutputCase>
{
};

// What a command prints is its result: output that cannot be written fails the command, said on
// one line.
TEST_P(CliStandardOutput, AFailedWriteToStandardOutputFailsTheCommand)
{
    std::vector<std::string> args
        = {"-c", std::string("exec \"$0\" \"$@\" ") + GetParam().redirect, kCliProgram};
    for (const std::string &arg : GetParam().args)
        args.push_back(arg == "FILE" ? factoryPath : arg);
    const ProgramRun run = RunProgram("/bin/sh", args);
    EXPECT_EQ(run.exitCode, GetParam().status) << run.err;
    if (GetParam().status == 0) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_EQ(run.err,
                  "nx5rb-cli: standard output: " + std::string(std::strerror(GetParam().error))
                      + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliStandardOutput,
    ::testing::Values(
        StandardOutputCase {
            "ExportToAFullDisk", {"export-channels", "FILE"}, ">/dev/full", 1, ENOSPC},
        StandardOutputCase {"ExportDashToAFullDisk",
                            {"export-channels", "FILE", "-o", "-"},
                            ">/dev/full",
                            1,
                            ENOSPC},
        StandardOutputCase {"DumpToAClosedOutput", {"dump", "FILE"}, ">&-", 1, EBADF},
        StandardOutputCase {
            "DiffToAFullDisk", {"diff", "--json", "FILE", "FILE"}, ">/dev/full", 2, ENOSPC},
        StandardOutputCase {"HelpToAClosedOutput", {"--help"}, ">&-", 1, EBADF},
        StandardOutputCase {"DumpToNull", {"dump", "FILE"}, ">/dev/null", 0}),
    [](const auto &info) { return std::string(info.param.name); });

struct MissingPortCase
{
    const char *name;
    bool read;
};

void PrintTo(const MissingPortCase &c, std::ostream *out)
{
    *out << c.name;
}

class CliMissingPort : public CliEndToEnd, public ::testing::WithParamInterface<MissingPortCase>
{
};

TEST_P(CliMissingPort, FailsAtOnceWithTheSystemsReason)
{
    const std::string filePath = folder.Path("FILE.dat");
    ASSERT_FALSE(WriteDataFile(filePath, factory));
    // A device of its own per case: the port locks the device's name before it opens it, and the
    // two cases run side by side.
    const std::string device = std::string("/nonexistent-") + GetParam().name;
    const std::vector<std::string> args = GetParam().read
        ? std::vector<std::string> {"read", "all", "--port", device, "-o", outPath}
        : std::vector<std::string> {"write", "channels", "--port", device, filePath};
    const ProgramRun run = RunProgram(kCliProgram, args);
    EXPECT_GT(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find(std::strerror(ENOENT)), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(device), std::string::npos) << run.err;
    // Refused at the open: no handshake was tried, so no connection prompt.
    EXPECT_EQ(Occurrences(run.err, kCheckConnection), 0) << run.err;
    EXPECT_EQ(Occurrences(run.err, "\n"), 1) << "said once: " << run.err;
    EXPECT_FALSE(std::filesystem::exists(outPath));
}

INSTANTIATE_TEST_SUITE_P(ReadAndWrite, CliMissingPort,
                         ::testing::Values(MissingPortCase {"Read", true},
                                           MissingPortCase {"Write", false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace nx5rb::test
