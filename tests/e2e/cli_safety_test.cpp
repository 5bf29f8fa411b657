// nx5rb-cli's safety net against nx5rb-sim: the calibration guard, the read-back after a write and
// the backups, as a script meets them.
#include "app/window_state.h"
#include "e2e_rig.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace nx5rb::test {
namespace {

bool Contains(const std::string &text, std::string_view what)
{
    return text.find(what) != std::string::npos;
}

class CliSafetyNet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(RunProgram(kSimProgram, {"--export", radioPath}).exitCode, 0);
        before = ReadImage(radioPath);
        // The start-up image: another radio's calibration as far as this one is concerned.
        ASSERT_FALSE(WriteDataFile(otherPath, WindowState().Image));
    }

    TempFolder folder;
    const std::string radioPath = folder.Path("radio.dat");
    const std::string otherPath = folder.Path("other.dat");
    RadioImage before {};
};

TEST_F(CliSafetyNet, AWriteOverAnotherRadiosCalibrationIsRefusedUnlessAskedFor)
{
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite);
        SimRadio sim(radioPath, {"--load", radioPath});
        ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
        std::vector<std::string> args
            = {"write", "band-a", "--port", sim.Terminal(), otherPath, "--no-backup"};
        if (overwrite)
            args.push_back("--overwrite-calibration");
        const ProgramRun write = RunProgram(kCliProgram, args);
        ASSERT_EQ(sim.Stop(), 0) << sim.Log();
        EXPECT_EQ(write.exitCode == 0, overwrite) << write.err;
        // The refusal, on one line; never the question the command line does not ask.
        EXPECT_EQ(Contains(write.err, "未写入：本机的校准数据与文件相差太多（频段-A："), !overwrite)
            << write.err;
        EXPECT_FALSE(Contains(write.err, "确定写入？")) << write.err;
        EXPECT_EQ(ReadImage(radioPath) == before, !overwrite);
    }
}

TEST_F(CliSafetyNet, ARadioThatStoresAByteWronglyFailsTheWriteByName)
{
    SimRadio sim(radioPath, {"--load", radioPath, "--corrupt-write", "1"});
    ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
    const ProgramRun write = RunProgram(
        kCliProgram, {"write", "message", "--port", sim.Terminal(), radioPath, "--no-backup"});
    EXPECT_NE(write.exitCode, 0) << write.err;
    EXPECT_TRUE(Contains(write.err, "写入校验失败")) << write.err;
    EXPECT_TRUE(Contains(write.err, "P0 第 4 字符：写入")) << write.err;
    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

TEST_F(CliSafetyNet, AReadLeavesABackupThatOpensToWhatWasRead)
{
    const std::string data = folder.MakeFolder("data");
    ASSERT_EQ(setenv("XDG_DATA_HOME", data.c_str(), 1), 0);
    SimRadio sim(radioPath, {"--load", radioPath});
    ASSERT_FALSE(sim.Terminal().empty()) << sim.Log();
    const std::string outPath = folder.Path("out.dat");
    const ProgramRun read
        = RunProgram(kCliProgram, {"read", "all", "--port", sim.Terminal(), "-o", outPath});
    unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const std::string prefix = "nx5rb-cli: backup: ";
    ASSERT_TRUE(read.err.starts_with(prefix)) << read.err;
    const std::string backup = read.err.substr(prefix.size(), read.err.find('\n') - prefix.size());
    EXPECT_TRUE(backup.starts_with(data + "/nx5rb/backups/")) << backup;
    EXPECT_TRUE(backup.ends_with("_read-all.dat")) << backup;
    EXPECT_EQ(ReadImage(backup), ReadImage(outPath));
    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

// Two radios read on one computer at the same moment: each read keeps its own backup, whole.
TEST_F(CliSafetyNet, ReadsAtTheSameMomentEachKeepTheirOwnBackup)
{
    const std::string data = folder.MakeFolder("data");
    ASSERT_EQ(setenv("XDG_DATA_HOME", data.c_str(), 1), 0);
    constexpr int kProcesses = 4;
    constexpr int kRounds = 5;
    const std::string prefix = "nx5rb-cli: backup: ";
    std::set<std::string> printed;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<ChildProcess>> reads;
        for (int i = 0; i < kProcesses; ++i)
            reads.push_back(std::make_unique<ChildProcess>(
                kCliProgram,
                std::vector<std::string> {"read", "band-a", "--port", "virtual", "-o",
                                          folder.Path(std::to_string(i) + ".dat")}));
        for (const auto &read : reads) {
            EXPECT_EQ(read->Finish(), 0) << read->Err();
            ASSERT_TRUE(read->Err().starts_with(prefix)) << read->Err();
            printed.insert(
                read->Err().substr(prefix.size(), read->Err().find('\n') - prefix.size()));
        }
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(printed.size(), std::size_t(kProcesses * kRounds));
    std::set<std::string> left;
    for (const auto &entry : std::filesystem::directory_iterator(data + "/nx5rb/backups")) {
        left.insert(entry.path().string());
        EXPECT_EQ(ReadDataFile(entry.path().string()).status, DataFileStatus::Ok) << entry.path();
    }
    EXPECT_EQ(left, printed);
}

} // namespace
} // namespace nx5rb::test
