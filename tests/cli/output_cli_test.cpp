// Where nx5rb-cli writes: outputs that are not regular files, "-o -", and a trace onto the
// command's own files.
#include "app/file_commands.h"
#include "cli/tool_run.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace nx5rb {
namespace {

namespace fs = std::filesystem;
using test::RunTool;
using test::ToolRun;

// A pipe, a device and a folder are never replaced nor written into: refused with one line before
// anything is written, and left as they were. The window's save follows the same rule.
TEST(Output, AnExistingOutputThatIsNotARegularFileIsRefusedAndLeftAsItWas)
{
    test::TempFolder folder;
    const std::string data = test::SaveState(folder, "in.dat");
    const std::string planText = "Location,Frequency\n5,150\n";
    const std::string plan = folder.Write("plan.csv", {planText.begin(), planText.end()});
    const std::string fifo = folder.Path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string directory = folder.MakeFolder("folder");
    const std::string device = "/dev/null";
    const auto kind = [](const std::string &path) { return fs::status(path).type(); };

    for (const std::string &target : {fifo, device, directory}) {
        SCOPED_TRACE(target);
        const fs::file_type before = kind(target);
        const std::vector<std::vector<std::string>> commands = {
            {"export-channels", data, "-o", target},
            {"import-channels", data, plan, "-o", target},
            {"read", "all", "--port", "virtual", "-o", target, "--no-backup"},
        };
        for (const auto &args : commands) {
            const ToolRun run = RunTool(args);
            EXPECT_EQ(run.status, 1) << args.front();
            EXPECT_EQ(run.err,
                      "nx5rb-cli: " + target
                          + ": not a regular file (a device, a pipe or a folder); refusing to "
                            "write to it\n");
            EXPECT_EQ(run.out, "");
        }
        WindowState state;
        test::RecordingPrompt prompt;
        EXPECT_FALSE(SaveDataFile(state, target, prompt));
        ASSERT_EQ(prompt.Shown.size(), 1u);
        EXPECT_TRUE(prompt.Shown[0].text.starts_with(file_text::kSaveFailed));
        EXPECT_EQ(kind(target), before);
    }
    EXPECT_TRUE(fs::is_empty(directory));

    // "-" is standard output.
    const ToolRun toOut = RunTool({"export-channels", data, "-o", "-"});
    EXPECT_EQ(toOut.status, 0) << toOut.err;
    EXPECT_EQ(toOut.out, RunTool({"export-channels", data}).out);
    EXPECT_FALSE(fs::exists("-"));
}

// The trace is opened before anything else: onto the command's own file, however named, it would
// destroy it. That is a usage error, and no file is touched.
TEST(Output, ATraceOntoTheCommandsOwnFileIsAUsageError)
{
    test::TempFolder folder;
    const std::string data = test::SaveState(folder, "v.dat");
    const std::vector<std::uint8_t> bytes = test::ReadAll(data);
    const std::string link = folder.Path("link.dat");
    fs::create_symlink(data, link);
    const std::string dotted = folder.Path(".") + "/./folder/../v.dat";
    folder.MakeFolder("folder");
    const std::string out = folder.Path("out.dat");

    const std::vector<std::vector<std::string>> cases = {
        {"write", "channels", "--port", "virtual", data, "--trace", data},
        {"write", "channels", "--port", "virtual", data, "--trace", link},
        {"write", "channels", "--port", "virtual", link, "-t", dotted},
        {"read", "all", "--port", "virtual", "-o", out, "--trace", out},
        {"read", "all", "--port", "virtual", "-o", out, "--base", data, "--trace", dotted},
    };
    for (const auto &args : cases) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.err.starts_with("nx5rb-cli: --trace ")) << run.err;
        EXPECT_EQ(test::ReadAll(data), bytes);
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
} // namespace nx5rb
