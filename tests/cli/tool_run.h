// Running nx5rb-cli in the test process and keeping a data file to run it on.
#pragma once

#include "app/file_commands.h"
#include "app/window_state.h"
#include "cli/cli.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace nx5rb::test {

struct ToolRun
{
    int status = 0;
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

// Saves the state as the window's Save does; a default state is the start-up image.
inline std::string SaveState(const TempFolder &folder, const std::string &name,
                             WindowState state = {})
{
    const std::string path = folder.Path(name);
    RecordingPrompt prompt;
    EXPECT_TRUE(SaveDataFile(state, path, prompt));
    return path;
}

} // namespace nx5rb::test
