// nx5rb-cli: the dump and the channel export of data files, and how it reports misuse.
#include "app/file_commands.h"
#include "app/window_state.h"
#include "cli/tool_run.h"
#include "support/file_size_limit.h"
#include "support/image_bytes.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Put;
using test::RunTool;
using test::SaveState;
using test::TempFolder;
using test::ToolRun;

// A start-up image with three channels: a complete one, one without a transmit frequency and
// one whose transmit frequency lies outside every band.
std::string SaveWithChannels(const TempFolder &folder)
{
    WindowState state;
    Put(state.Image, mm::ChannelRecord(1),
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0x04, 0x00});
    Put(state.Image, mm::ChannelRecord(3),
        {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x23, 0x80, 0x30, 0x00});
    Put(state.Image, mm::ChannelRecord(128),
        {0x26, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x06, 0xC5, 0x70, 0x06, 0x24, 0x00});
    return SaveState(folder, "channels.dat", state);
}

// Keys of the outermost object in the order they appear in the text.
std::vector<std::string> TopLevelKeys(const std::string &json)
{
    std::vector<std::string> keys;
    int depth = 0;
    bool inString = false;
    std::string current;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                current += json[++i];
            } else if (c == '"') {
                inString = false;
                const std::size_t next = json.find_first_not_of(" \n\r\t", i + 1);
                if (depth == 1 && next != std::string::npos && json[next] == ':')
                    keys.push_back(current);
            } else {
                current += c;
            }
        } else if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}

QJsonObject Parse(const std::string &json)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

std::string Text(const QJsonValue &value)
{
    return value.toString().toStdString();
}

TEST(Dump, StartUpFileWithItsKeysInOrder)
{
    TempFolder folder;
    WindowState state;
    const ToolRun run = RunTool({"dump", SaveState(folder, "start.dat", state)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        TopLevelKeys(run.out),
        (std::vector<std::string> {"areas", "work_bands_code", "work_bands_item", "work_channels",
                                   "tune", "modulation", "max_offset", "message", "channels"}));

    const QJsonObject dump = Parse(run.out);
    const QJsonObject a = dump["areas"].toArray()[0].toObject();
    EXPECT_EQ(Text(a["band"]), "A");
    EXPECT_EQ(Text(a["rx_low"]), "136");
    EXPECT_EQ(Text(a["rx_high"]), "175");
    EXPECT_EQ(Text(a["tune"]), "134");
    EXPECT_EQ(Text(dump["areas"].toArray()[1].toObject()["tx_high"]), "470");
    EXPECT_EQ(dump["work_bands_code"].toInt(), 255);
    EXPECT_EQ(dump["work_bands_item"].toInt(), 6);
    EXPECT_EQ(dump["work_channels"].toArray(), (QJsonArray {"VHF", "UHF", "VHF"}));

    const QJsonObject tuneA = dump["tune"].toArray()[0].toObject();
    const QJsonArray points = tuneA["points"].toArray();
    ASSERT_EQ(points.size(), 16);
    EXPECT_EQ(Text(points[0]), "134");
    EXPECT_EQ(Text(points[15]), "≥209");
    EXPECT_EQ(tuneA["rx_edge"].toInt(), 10);
    EXPECT_EQ(tuneA["tx_edge"].toInt(), 10);
    EXPECT_EQ(tuneA["low_power"].toArray()[9].toInt(), 80);
    EXPECT_EQ(dump["tune"].toArray()[2].toObject()["rx_edge"].toInt(), 14);

    const QJsonObject modulationA = dump["modulation"].toArray()[0].toObject();
    EXPECT_EQ(modulationA["response1"].toInt(), 26);
    EXPECT_EQ(modulationA["total_deviation"].toInt(), 43);
    EXPECT_EQ(dump["max_offset"].toInt(), 50);
    const QJsonArray message = dump["message"].toArray();
    ASSERT_EQ(message.size(), 4);
    EXPECT_EQ(Text(message[1]), "VER 1.02014/05");
    EXPECT_EQ(Text(message[0]), "  EXAMPLE  TR3");
    EXPECT_TRUE(dump["channels"].isArray());
    EXPECT_TRUE(dump["channels"].toArray().isEmpty());
}

TEST(Dump, ErasedTotalDeviationIsNull)
{
    TempFolder folder;
    WindowState state;
    Put(state.Image, mm::kSettingsBlock[1] + 3, {0xFF, 0xFF});
    const ToolRun run = RunTool({"dump", SaveState(folder, "erased.dat", state)});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject b = Parse(run.out)["modulation"].toArray()[1].toObject();
    EXPECT_TRUE(b["total_deviation"].isNull());
    EXPECT_EQ(b["response2"].toInt(), 15);
}

TEST(Dump, ListsOnlyExistingChannels)
{
    TempFolder folder;
    const ToolRun run = RunTool({"dump", SaveWithChannels(folder)});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonArray channels = Parse(run.out)["channels"].toArray();
    ASSERT_EQ(channels.size(), 3);

    const QJsonObject first = channels[0].toObject();
    EXPECT_EQ(first["channel"].toInt(), 0);
    EXPECT_EQ(Text(first["rx"]), "145.12500");
    EXPECT_EQ(Text(first["tx"]), "145.12500");
    EXPECT_EQ(Text(first["rx_tone"]), "67.0");
    EXPECT_EQ(Text(first["tx_tone"]), "023N");
    EXPECT_EQ(Text(first["bandwidth"]), "宽");
    EXPECT_EQ(Text(first["power"]), "高");
    EXPECT_EQ(Text(first["scan"]), "添加");

    const QJsonObject third = channels[1].toObject();
    EXPECT_EQ(third["channel"].toInt(), 2);
    EXPECT_EQ(Text(third["tx"]), "");
    EXPECT_EQ(Text(third["tx_tone"]), "");
    EXPECT_EQ(Text(third["rx_tone"]), "无");

    const QJsonObject last = channels[2].toObject();
    EXPECT_EQ(last["channel"].toInt(), 127);
    EXPECT_EQ(Text(last["tx"]), "");
}

TEST(Dump, SavingTheOpenedFileAgainGivesTheSameDump)
{
    TempFolder folder;
    const std::string first = SaveWithChannels(folder);
    WindowState state;
    test::RecordingPrompt prompt;
    ASSERT_EQ(OpenDataFile(state, first, prompt), OpenResult::Opened);
    const std::string second = SaveState(folder, "again.dat", state);
    EXPECT_EQ(test::ReadAll(second), test::ReadAll(first));
    const ToolRun a = RunTool({"dump", first});
    const ToolRun b = RunTool({"dump", second});
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
}

// After a UTF-8 byte-order mark, so that spreadsheets read the export as UTF-8.
const std::string kCsvHeader
    = "\xEF\xBB\xBF信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\n";
const std::string kCsvRows = "0,145.12500,145.12500,67.0,023N,宽,高,添加\n"
                             "2,433.00625,,无,,窄,低,删除\n"
                             "127,260.00000,,506I,,窄,高,添加\n";

TEST(ExportChannels, HeaderRowThenOneRowPerChannel)
{
    TempFolder folder;
    const ToolRun run = RunTool({"export-channels", SaveWithChannels(folder)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kCsvHeader + kCsvRows);
    EXPECT_EQ(run.err, "");

    WindowState empty;
    const ToolRun none = RunTool({"export-channels", SaveState(folder, "empty.dat", empty)});
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(none.out, kCsvHeader);
}

TEST(ExportChannels, OutputOptionWritesTheFile)
{
    TempFolder folder;
    const std::string input = SaveWithChannels(folder);
    for (const char *option : {"-o", "--output"}) {
        const std::string csv = folder.Path(std::string("out") + option + ".csv");
        const ToolRun run = RunTool({"export-channels", input, option, csv});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        const Bytes written = test::ReadAll(csv);
        EXPECT_EQ(std::string(written.begin(), written.end()), kCsvHeader + kCsvRows);
    }
    // A write that fails halfway leaves no half-written file behind.
    const std::string cut = folder.Path("cut.csv");
    ToolRun halfway;
    {
        test::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        halfway = RunTool({"export-channels", input, "-o", cut});
    }
    EXPECT_NE(halfway.status, 0);
    EXPECT_NE(halfway.err.find(cut), std::string::npos) << halfway.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cut)));

    const ToolRun blocked
        = RunTool({"export-channels", input, "-o", folder.MakeFolder("taken.csv")});
    EXPECT_NE(blocked.status, 0);
    EXPECT_NE(blocked.err, "");
}

// Said once, on one line, in the command line's own English.
TEST(Cli, FilesThatCannotBeOpenedFailWithAMessage)
{
    TempFolder folder;
    Bytes wrong(4112, 0x20);
    const std::string refused = folder.Write("wrong.dat", wrong);
    const std::string missing = folder.Path("missing.dat");
    const std::vector<std::vector<std::string>> commands
        = {{"dump"}, {"export-channels"}, {"write", "channels", "--port", "virtual"}};
    for (const std::vector<std::string> &command : commands) {
        const auto with = [&command](const std::string &file) {
            std::vector<std::string> args = command;
            args.push_back(file);
            return args;
        };
        const ToolRun a = RunTool(with(refused));
        EXPECT_NE(a.status, 0);
        EXPECT_EQ(a.out, "");
        EXPECT_EQ(
            a.err,
            "nx5rb-cli: " + refused
                + ": not a data file (a data file is 4112 bytes and begins with \"NX5RBTX \")\n");

        const ToolRun b = RunTool(with(missing));
        EXPECT_NE(b.status, 0);
        EXPECT_EQ(b.out, "");
        EXPECT_TRUE(b.err.starts_with("nx5rb-cli: " + missing + ": ")) << b.err;
        EXPECT_EQ(b.err.find('\n'), b.err.size() - 1) << b.err;
    }
}

// The window's message boxes put the reason under the message; a terminal gets one line.
TEST(Cli, AMessageBoxOfSeveralLinesIsOneLine)
{
    TempFolder folder;
    const std::string out = folder.Path("no-such-folder/out.dat");
    const ToolRun run = RunTool({"read", "band-a", "--port", "virtual", "-o", out, "--no-backup"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("nx5rb-cli: " + out + ": 保存失败：")) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(Cli, MisuseExitsWithUsage)
{
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate"},
        {"dump"},
        {"dump", "--bogus", "x.dat"},
        {"dump", "a.dat", "b.dat"},
        {"export-channels", "a.dat", "-o"},
        {"export-channels", "-x", "a.dat"},
    };
    for (const auto &args : misuses) {
        const ToolRun run = RunTool(args);
        const std::string line = args.empty() ? "(nothing)" : args.front();
        EXPECT_NE(run.status, 0) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_NE(run.err.find("usage: nx5rb-cli"), std::string::npos) << line << run.err;
    }
}

TEST(Cli, HelpForTheToolAndEachCommand)
{
    const struct
    {
        std::vector<std::string> args;
        const char *usage;
    } cases[] = {
        {{"--help"}, "usage: nx5rb-cli [--help]"},
        {{"-h"}, "usage: nx5rb-cli [--help]"},
        {{"dump", "--help"}, "usage: nx5rb-cli dump FILE.dat"},
        {{"export-channels", "--help"}, "usage: nx5rb-cli export-channels FILE.dat"},
        {{"export-channels", "x.dat", "-h"}, "usage: nx5rb-cli export-channels FILE.dat"},
        {{"chart", "--help"}, "usage: nx5rb-cli chart FILE.dat"},
        {{"read", "--help"}, "usage: nx5rb-cli read REGION"},
        {{"write", "--help"}, "usage: nx5rb-cli write REGION"},
    };
    for (const auto &c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(c.usage, 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

} // namespace
} // namespace nx5rb
