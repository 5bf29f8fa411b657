// nx5rb-cli chart: a picture of the asked size without a display, and what it refuses.
#include "app/file_commands.h"
#include "app/window_state.h"
#include "cli/tool_run.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>

namespace nx5rb {
namespace {

using test::TempFolder;

using test::ToolRun;

// The chart goes to its file: nothing on standard output.
ToolRun RunChart(std::vector<std::string> args)
{
    args.insert(args.begin(), "chart");
    const ToolRun run = test::RunTool(args);
    EXPECT_EQ(run.out, "");
    return run;
}

bool Exists(const std::string &path)
{
    return QFile::exists(QString::fromStdString(path));
}

TEST(ChartCli, WritesAPictureOfTheAskedSize)
{
    TempFolder folder;
    const std::string dat = test::SaveState(folder, "start.dat");
    const std::string other = test::SaveState(folder, "other.dat");
    const struct
    {
        std::vector<std::string> options;
        QSize size;
    } cases[] = {
        {{"--band", "a"}, QSize(1000, 750)},
        {{"-b", "C", "--size", "640x360"}, QSize(640, 360)},
        {{"--band", "b", "--compare", other, "-s", "200x8000"}, QSize(200, 8000)},
    };
    int n = 0;
    for (const auto &c : cases) {
        const std::string png = folder.Path("chart" + std::to_string(++n) + ".png");
        std::vector<std::string> args = {dat, "-o", png};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolRun run = RunChart(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const QImage image(QString::fromStdString(png), "PNG");
        ASSERT_FALSE(image.isNull()) << png;
        EXPECT_EQ(image.size(), c.size) << png;
    }
}

TEST(ChartCli, MisuseIsAUsageErrorAndWritesNothing)
{
    TempFolder folder;
    const std::string dat = test::SaveState(folder, "start.dat");
    const std::string png = folder.Path("out.png");
    const std::vector<std::vector<std::string>> misuses = {
        {dat, "-o", png}, // no band
        {dat, "--band", "d", "-o", png},
        {dat, "--band", "ab", "-o", png},
        {dat, "--band", "", "-o", png},
        {dat, "--band", "a"}, // no output
        {dat, "--band", "a", "-o", png, "--size", "199x300"},
        {dat, "--band", "a", "-o", png, "--size", "300x"},
        {dat, "--band", "a", "-o", png, "--size", "+300x300"},
        {"--band", "a", "-o", png}, // no file
    };
    for (const auto &args : misuses) {
        const ToolRun run = RunChart(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("usage: nx5rb-cli chart"), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(png));
    }
}

TEST(ChartCli, FailuresExitNonZeroWithAMessage)
{
    TempFolder folder;
    const std::string dat = test::SaveState(folder, "start.dat");
    const std::string wrong = folder.Write("wrong.dat", std::vector<std::uint8_t>(4112, 0x20));
    const std::string png = folder.Path("out.png");
    const std::vector<std::vector<std::string>> failures = {
        {wrong, "--band", "a", "-o", png},
        {folder.Path("missing.dat"), "--band", "a", "-o", png},
        {dat, "--band", "a", "-o", png, "--compare", wrong},
        {dat, "--band", "a", "-o", folder.Path("no/such/folder/out.png")},
    };
    for (const auto &args : failures) {
        const ToolRun run = RunChart(args);
        EXPECT_EQ(run.status, 1) << args.front();
        EXPECT_NE(run.err, "") << args.front();
        EXPECT_EQ(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(png));
    }
}

} // namespace
} // namespace nx5rb
