// nx5rb-cli chart as a user runs it: nx5rb-cli checks the arguments and has nx5rb-chart, found
// beside it, draw the picture of the asked size in the format the output's name asks for, with
// nothing on standard error; and what it refuses.
#include "cli/tool_run.h"
#include "e2e/e2e_rig.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>
#include <QImageReader>

namespace nx5rb {
namespace {

using test::ProgramRun;
using test::TempFolder;

// The chart goes to its file: nothing on standard output.
ProgramRun RunChart(std::vector<std::string> args, const std::string &program = test::kCliProgram)
{
    args.insert(args.begin(), "chart");
    const ProgramRun run = test::RunProgram(program, args);
    EXPECT_EQ(run.out, "");
    return run;
}

bool Exists(const std::string &path)
{
    return QFile::exists(QString::fromStdString(path));
}

int Lines(const std::string &text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

TEST(ChartCli, WritesAPictureOfTheAskedSizeAndFormat)
{
    // Qt complains on standard error when the session gives it no runtime folder (as here, as
    // root, in a cron job); the chart must stay quiet all the same.
    qunsetenv("XDG_RUNTIME_DIR");
    TempFolder folder;
    const std::string dat = test::SaveState(folder, "start.dat");
    const std::string other = test::SaveState(folder, "other.dat");
    const struct
    {
        std::string name;
        std::vector<std::string> options;
        QSize size;
        QByteArray format;
    } cases[] = {
        {"a.png", {"--band", "a"}, QSize(1000, 750), "png"},
        {"c.JPG", {"-b", "C", "--size", "640x360"}, QSize(640, 360), "jpeg"},
        {"b.jpeg", {"--band", "b", "--compare", other, "-s", "200x8000"}, QSize(200, 8000), "jpeg"},
        {"a.bmp", {"--band", "a", "--size", "300x200"}, QSize(300, 200), "bmp"},
    };
    for (const auto &c : cases) {
        const std::string picture = folder.Path(c.name);
        std::vector<std::string> args = {dat, "-o", picture};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramRun run = RunChart(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "") << c.name;
        // The format the bytes are in, whatever the name says.
        QImageReader reader(QString::fromStdString(picture));
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), c.format) << c.name;
        EXPECT_EQ(reader.read().size(), c.size) << c.name;
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
        const ProgramRun run = RunChart(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find("usage: nx5rb-cli chart"), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(png));
    }
    // A name whose extension names no picture format is refused in one line, before anything
    // is drawn or written.
    for (const std::string name : {"out.xyz", "out", "out.dat"}) {
        const ProgramRun run = RunChart({dat, "--band", "a", "-o", folder.Path(name)});
        EXPECT_EQ(run.exitCode, 2) << name;
        EXPECT_EQ(Lines(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("png"), std::string::npos) << run.err; // what it can write
        EXPECT_FALSE(Exists(folder.Path(name)));
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
        const ProgramRun run = RunChart(args);
        EXPECT_EQ(run.exitCode, 1) << args.front();
        EXPECT_NE(run.err, "") << args.front();
        EXPECT_EQ(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(png));
    }

    // nx5rb-cli without nx5rb-chart beside it or on PATH: it says what is missing.
    const std::string lonely = folder.Path("nx5rb-cli");
    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(test::kCliProgram), QString::fromStdString(lonely)));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder.MakeFolder("empty").c_str());
    const ProgramRun run = RunChart({dat, "--band", "a", "-o", png}, lonely);
    qputenv("PATH", path);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("nx5rb-chart"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(png));
}

} // namespace
} // namespace nx5rb
