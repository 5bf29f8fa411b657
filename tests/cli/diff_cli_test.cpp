// nx5rb-cli diff: what it prints for two data files and the status it exits with.
#include "app/window_state.h"
#include "cli/tool_run.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace nx5rb {
namespace {

using test::RunTool;
using test::TempFolder;
using test::ToolRun;

std::string Save(const TempFolder &folder, const std::string &name, const RadioImage &image)
{
    const auto bytes = DataFileBytes(image);
    return folder.Write(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

constexpr mm::Address kSensitivityA3 = mm::kTuneBlock[0] + mm::kTuneSensitivity + 2;

TEST(Diff, PrintsEachDifferenceAndExitsByTheOutcome)
{
    TempFolder folder;
    const RadioImage start = WindowState().Image;
    RadioImage tuned = start;
    tuned[kSensitivityA3] = 40;
    // Opened as the window opens a file: a damaged first setting is repaired to 1000, so the two
    // files hold the same image once opened.
    RadioImage damaged = start;
    RadioImage repaired = start;
    damaged[mm::kSettingsBlock[0]] = 0x25;
    repaired[mm::kSettingsBlock[0]] = 0x03;
    repaired[mm::kSettingsBlock[0] + 1] = 0xE8;

    const std::string a = Save(folder, "a.dat", start);
    const std::string b = Save(folder, "b.dat", tuned);
    const std::string wrong = folder.Write("wrong.dat", std::vector<std::uint8_t>(4112, 0x20));
    const std::string missing = folder.Path("missing.dat");
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err; // a part of standard error
    } cases[] = {
        {{"diff", a, Save(folder, "copy.dat", start)}, 0, "", ""},
        {{"diff", a, b}, 1, "频段-A 灵敏度/功率 / 频段-A 灵敏度 点 3: \"18\" -> \"40\"\n", ""},
        {{"diff", b, a}, 1, "频段-A 灵敏度/功率 / 频段-A 灵敏度 点 3: \"40\" -> \"18\"\n", ""},
        {{"diff", Save(folder, "damaged.dat", damaged), Save(folder, "repaired.dat", repaired)},
         0,
         "",
         ""},
        {{"diff", a}, 2, "", "missing A.dat B.dat"},
        {{"diff", a, b, b}, 2, "", "unexpected argument"},
        {{"diff", "--jsn", a, b}, 2, "", "unknown option --jsn"},
        {{"diff", a, wrong}, 2, "", "错误的文件！"},
        {{"diff", missing, a}, 2, "", "打开失败："},
    };
    for (const auto &c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        }
    }
}

TEST(Diff, JsonListsPageFieldAddressAndBothTexts)
{
    TempFolder folder;
    const RadioImage start = WindowState().Image;
    RadioImage changed = start;
    changed[kSensitivityA3] = 40;
    const std::string a = Save(folder, "a.dat", start);
    const ToolRun run = RunTool({"diff", "--json", a, Save(folder, "b.dat", changed)});
    ASSERT_EQ(run.status, 1) << run.err;
    const QJsonArray differences
        = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
    ASSERT_EQ(differences.size(), 1) << run.out;
    EXPECT_EQ(differences[0].toObject(),
              (QJsonObject {{"page", "频段-A 灵敏度/功率"},
                            {"field", "频段-A 灵敏度 点 3"},
                            {"address", kSensitivityA3},
                            {"a", "18"},
                            {"b", "40"}}));

    const ToolRun same = RunTool({"diff", a, a, "--json"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "[]\n");
}

} // namespace
} // namespace nx5rb
