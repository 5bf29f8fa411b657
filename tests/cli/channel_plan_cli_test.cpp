// nx5rb-cli import-channels and export-channels --format: what reaches the output file, standard
// error and the exit status.
#include "app/file_commands.h"
#include "app/window_state.h"
#include "cli/tool_run.h"
#include "image/data_file.h"
#include "support/image_bytes.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

using test::ToolRun;

struct ChannelPlanCli : testing::Test
{
    ChannelPlanCli()
    {
        WindowState state;
        test::Put(
            state.Image, mm::ChannelRecord(2),
            {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x06, 0x23, 0x80, 0x30, 0x77});
        test::RecordingPrompt prompt;
        EXPECT_TRUE(SaveDataFile(state, data, prompt));
    }

    std::string Plan(const std::string &text) const
    {
        const std::string name = "plan" + std::to_string(++plans) + ".csv";
        return folder.Write(name, test::Bytes(text.begin(), text.end()));
    }

    test::TempFolder folder;
    const std::string data = folder.Path("in.dat");
    const std::string out = folder.Path("out.dat");
    mutable int plans = 0;
};

constexpr const char *kPlan = "Location,Frequency,Duplex,Offset\n"
                              "0,145.125,+,0.6\n"
                              "1,99.5,,\n" // below every band
                              "3,145.003,,\n" // moved to 145.005
                              "4,145,+,x\n";

TEST_F(ChannelPlanCli, RefusedRowsStopTheImportUnlessSkipped)
{
    const std::string plan = Plan(kPlan);
    const ToolRun refused = test::RunTool({"import-channels", data, plan, "-o", out});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    for (const char *line : {":3: Frequency \"99.5\"", ":5: Offset \"x\"",
                             ":4: warning: Frequency \"145.003\"", "2 rows refused"})
        EXPECT_NE(refused.err.find(line), std::string::npos) << line << "\n" << refused.err;

    const ToolRun skipped = test::RunTool({"import-channels", "--skip-bad", data, plan, "-o", out});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_NE(skipped.err.find(":5: Offset"), std::string::npos);
    EXPECT_EQ(
        test::RunTool({"export-channels", out}).out,
        "\xEF\xBB\xBF信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\n"
        "0,145.12500,145.72500,无,无,宽,高,添加\n"
        "1,433.00625,,60.0,,窄,低,删除\n"
        "3,145.00500,145.00500,无,无,宽,高,添加\n");

    const ToolRun replaced
        = test::RunTool({"import-channels", data, Plan("Location,Frequency\n5,150\n"),
                         "--replace-all", "--output", out});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(replaced.err, "");
    EXPECT_EQ(
        test::RunTool({"export-channels", out}).out,
        "\xEF\xBB\xBF信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\n"
        "5,150.00000,150.00000,无,无,宽,高,添加\n");
}

TEST_F(ChannelPlanCli, OwnExportImportedAgainGivesTheSameFile)
{
    const std::string csv = folder.Path("ours.csv");
    ASSERT_EQ(test::RunTool({"export-channels", data, "-o", csv}).status, 0);
    const ToolRun run = test::RunTool({"import-channels", data, csv, "-o", out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadAll(out), test::ReadAll(data));
}

// The plan is read against the file as the window shows it, but only the channel records of the
// file's own bytes change: what the repair on opening would change elsewhere stays as it was.
TEST_F(ChannelPlanCli, TheOutputIsTheFilesOwnBytesWithOnlyTheChannelRecordsReplaced)
{
    std::vector<std::uint8_t> bytes = test::ReadAll(data);
    ASSERT_EQ(bytes.size(), kDataFileSize);
    const auto at = [&bytes](mm::Address address) -> std::uint8_t & { return bytes[16 + address]; };
    at(mm::kFreqAreaRecord[0]) = 0xFF; // not BCD: band A's record is replaced on opening
    at(mm::kSettingsBlock[0]) = 0x25; // above 31: set to 1000 on opening
    at(mm::kSettingsMarker) = 0x00;
    bytes[15] = '5'; // the header's version text is the file's too
    const std::string damaged = folder.Write("damaged.dat", bytes);

    const ToolRun run = test::RunTool(
        {"import-channels", damaged, Plan("Location,Frequency\n5,150\n"), "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::uint8_t> written = test::ReadAll(out);
    ASSERT_EQ(written.size(), bytes.size());
    const std::size_t channelsFrom = 16 + mm::kChannelTableStart;
    const std::size_t channelsTo = 16 + mm::kChannelTableEnd;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i < channelsFrom || i >= channelsTo) {
            ASSERT_EQ(written[i], bytes[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(
        test::RunTool({"export-channels", out}).out,
        "\xEF\xBB\xBF信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\n"
        "1,433.00625,,60.0,,窄,低,删除\n"
        "5,150.00000,150.00000,无,无,宽,高,添加\n");
}

TEST_F(ChannelPlanCli, FailuresAndMisuse)
{
    const struct
    {
        std::vector<std::string> args;
        int status;
        const char *err;
    } cases[] = {
        {{"import-channels", data, Plan("Name,Freq\n1,2\n"), "-o", out, "--skip-bad"},
         1,
         "not a channel plan"},
        {{"import-channels", data, folder.Path("none.csv"), "-o", out}, 1, "none.csv"},
        {{"import-channels", data, Plan("Location,Frequency\n1,99.5\n2,x\n"), "-o", out,
          "--skip-bad"},
         1,
         "every row refused; nothing to import"},
        {{"import-channels", data, Plan(kPlan)}, 2, "missing -o OUT.dat"},
        {{"import-channels", data, "-o", out}, 2, "missing FILE.dat and PLAN.csv"},
        {{"export-channels", data, "--format", "xml"}, 2, "unknown format xml"},
    };
    for (const auto &c : cases) {
        const ToolRun run = test::RunTool(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    }
}

TEST_F(ChannelPlanCli, CommonExportListsWhatItCannotHold)
{
    const ToolRun run = test::RunTool({"export-channels", data, "--format", "common"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1),
              "1,,433.006250,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Low,,,,,\n");
    EXPECT_EQ(run.err,
              "nx5rb-cli: channel 1: warning: not in the common layout: receive tone 60.0\n");
}

} // namespace
} // namespace nx5rb
