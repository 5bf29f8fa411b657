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
        bool oneLine = false; // the whole of standard error is that one line
    } cases[] = {
        {{"diff", a, Save(folder, "copy.dat", start)}, 0, "", ""},
        {{"diff", a, b}, 1, "频段-A 灵敏度/功率 / 频段-A 灵敏度 点 3: \"18\" -> \"40\"\n", ""},
        {{"diff", b, a}, 1, "频段-A 灵敏度/功率 / 频段-A 灵敏度 点 3: \"40\" -> \"18\"\n", ""},
        {{"diff", a}, 2, "", "missing A.dat B.dat"},
        {{"diff", a, b, b}, 2, "", "unexpected argument"},
        {{"diff", "--jsn", a, b}, 2, "", "unknown option --jsn"},
        // A file that cannot be compared is said once, on one line, in English.
        {{"diff", a, wrong}, 2, "", "nx5rb-cli: " + wrong + ": not a data file", true},
        {{"diff", missing, a}, 2, "", "nx5rb-cli: " + missing + ": ", true},
    };
    for (const auto &c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        if (c.oneLine) {
            EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        }
    }
}

struct StoredByteCase
{
    const char *what;
    std::vector<std::pair<mm::Address, std::uint8_t>> bytes; // changed in B
    std::vector<std::pair<std::string, std::string>> named; // page and field, in order
};

// diff compares what the files hold: bytes the repair on opening would change are differences,
// every differing byte is named once and no equal byte is named.
TEST(Diff, NamesEveryStoredByteThatDiffersAndNothingElse)
{
    TempFolder folder;
    RadioImage start = WindowState().Image;
    // Channel 1 on 433.00625 MHz, inside band B.
    const std::array<std::uint8_t, 14> channel
        = {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x06, 0x23, 0x80, 0x30, 0x77};
    std::copy(channel.begin(), channel.end(), start.begin() + mm::ChannelRecord(2));
    const std::string a = Save(folder, "a.dat", start);
    const mm::Address bandBRxHigh = mm::kFreqAreaRecord[1] + 2; // 470 MHz: 47 0x
    const StoredByteCase cases[] = {
        {"settings marker", {{mm::kSettingsMarker, 0x00}}, {{"其他", "字节 0xF9F"}}},
        {"first setting over 31",
         {{mm::kSettingsBlock[0], 0x25}},
         {{"频段-A 灵敏度/功率", "频段-A 调制频响设定值1"}}},
        {"damaged band A record",
         {{mm::kFreqAreaRecord[0], 0xFF}},
         {{"频段设置", "频段-A 接收频率 下限"}}},
        // Channel 1 leaves band B: its shown texts change, its bytes do not.
        {"band B ends below channel 1",
         {{bandBRxHigh, 0x43}},
         {{"频段设置", "频段-B 接收频率 上限"}}},
        {"sensitivity", {{kSensitivityA3, 40}}, {{"频段-A 灵敏度/功率", "频段-A 灵敏度 点 3"}}},
    };
    for (const StoredByteCase &c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage changed = start;
        for (const auto &[address, value] : c.bytes)
            changed[address] = value;
        const ToolRun run = RunTool({"diff", "--json", a, Save(folder, "b.dat", changed)});
        EXPECT_EQ(run.status, 1) << run.err;
        const QJsonArray differences
            = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
        std::vector<std::pair<std::string, std::string>> named;
        for (const QJsonValue &difference : differences)
            named.emplace_back(difference["page"].toString().toStdString(),
                               difference["field"].toString().toStdString());
        EXPECT_EQ(named, c.named) << run.out;
    }
}

TEST(Diff, JsonListsIdPageFieldAddressAndBothTexts)
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
              (QJsonObject {{"id", "tune.a.sensitivity.3"},
                            {"page", "频段-A 灵敏度/功率"},
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
