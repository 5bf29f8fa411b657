// Channel plans: export in both layouts, import of both, and what an import refuses.
#include "app/window_state.h"
#include "editors/channel_plan.h"
#include "support/image_bytes.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

using test::Put;

constexpr const char *kOurHeader
    = "信道号,接收频率,发射频率,接收亚音,发射亚音,宽窄带,发射功率,扫描添加/删除\n";
constexpr const char *kCommonHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,"
                                      "cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
                                      "TStep,Skip,Power,Comment\n";

std::string Ours(const WindowState &state)
{
    return ExportChannelPlan(ReadChannels(state.Image, state.FreqAreas), PlanLayout::Ours);
}

// The lines of an export after its header.
std::vector<std::string> Rows(const std::string &csv)
{
    std::vector<std::string> rows;
    std::size_t start = csv.find('\n') + 1;
    for (std::size_t end; (end = csv.find('\n', start)) != std::string::npos; start = end + 1)
        rows.push_back(csv.substr(start, end - start));
    return rows;
}

ChannelPlan Import(WindowState &state, const std::string &csv, bool replaceAll = false)
{
    ChannelPlan plan = ParseChannelPlan(csv, state.Image, state.FreqAreas, replaceAll);
    ApplyChannelPlan(plan, state.Image, state.FreqAreas);
    return plan;
}

// Records that only a byte-exact reader keeps: odd flag bits, bytes +13..+15, an unlisted tone, a
// tone of no known kind, a transmit frequency outside every band.
void PutOddChannels(RadioImage &image)
{
    Put(image, mm::ChannelRecord(1),
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x57, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0xC5, 0x12, 0x34,
         0x56});
    Put(image, mm::ChannelRecord(3),
        {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x06, 0x23, 0x80, 0x30, 0x77});
    Put(image, mm::ChannelRecord(5),
        {0x23, 0x00, 0x00, 0x00, 0x23, 0x00, 0x00, 0x00, 0x23, 0x40, 0x99, 0x40, 0x04, 0x00});
    Put(image, mm::ChannelRecord(128),
        {0x26, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x06, 0xC5, 0x70, 0x06, 0x24, 0x00});
}

TEST(ChannelPlan, OwnLayoutIntoTheSameImageChangesNoByte)
{
    WindowState state;
    PutOddChannels(state.Image);
    const RadioImage before = state.Image;
    const std::string csv = Ours(state);
    ASSERT_EQ(Rows(csv).size(), 4u);
    EXPECT_EQ(Rows(csv)[1], "2,433.00625,,60.0,,窄,低,删除");

    const ChannelPlan plan = Import(state, csv);
    EXPECT_EQ(plan.layout, PlanLayout::Ours);
    EXPECT_EQ(plan.good.size(), 4u);
    EXPECT_TRUE(plan.refused.empty());
    EXPECT_TRUE(plan.warnings.empty());
    EXPECT_EQ(plan.overwritten, 0);
    EXPECT_EQ(state.Image, before);
}

TEST(ChannelPlan, OwnLayoutIntoAnotherImageShowsWhatTheExportShows)
{
    WindowState source;
    Put(source.Image, mm::ChannelRecord(1),
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x57, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0xC5, 0x12});
    Put(source.Image, mm::ChannelRecord(7),
        {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0x54, 0xC7, 0xFF, 0xFF, 0x30, 0x00});
    Put(source.Image, mm::ChannelRecord(9),
        {0x14, 0x60, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x10, 0xFF, 0xFF, 0x04, 0x00});
    const std::string csv = Ours(source);

    // Channels 0 and 6 exist with other values, 8 is unused but holds a transmit frequency, 9 is
    // not in the plan.
    WindowState target;
    Put(target.Image, mm::ChannelRecord(1),
        {0x43, 0x50, 0x00, 0x00, 0x43, 0x50, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x20, 0x00});
    Put(target.Image, mm::ChannelRecord(7),
        {0x15, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x04, 0x00});
    Put(target.Image, mm::ChannelRecord(9), {0xFF, 0xFF, 0xFF, 0xFF, 0x14, 0x50, 0x00, 0x00});
    Put(target.Image, mm::ChannelRecord(10),
        {0x15, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00});
    const ChannelPlan plan = Import(target, csv);
    EXPECT_EQ(plan.overwritten, 2);
    std::vector<std::string> expected = Rows(csv);
    expected.push_back("9,150.00000,,无,,宽,高,添加");
    EXPECT_EQ(Rows(Ours(target)), expected);
}

TEST(ChannelPlan, CommonLayoutColumns)
{
    const struct
    {
        const char *row; // Location 0, no name, no comment
        const char *shown; // the row of our layout without its number
    } cases[] = {
        {"145.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High",
         "145.12500,145.12500,无,无,宽,高,添加"},
        {"145.125000,+,0.600000,Tone,100.0,67.0,023,NN,,,NFM,5.00,S,Low",
         "145.12500,145.72500,无,100.0,窄,低,删除"},
        {"145.125000,-,0.600000,TSQL,100.0,67.0,023,NN,,,FM,5.00,P,L",
         "145.12500,144.52500,67.0,67.0,宽,低,添加"},
        {"145.125000,split,435.000000,,88.5,88.5,023,NN,,,FM,,,",
         "145.12500,435.00000,无,无,宽,高,添加"},
        {"145.125000,off,0,TSQL,88.5,88.5,023,NN,,,FM,,,", "145.12500,,88.5,,宽,高,添加"},
        {"145.125000,,,DTCS,88.5,88.5,023,NN,754,,FM,,,",
         "145.12500,145.12500,023N,023N,宽,高,添加"},
        {"145.125000,,,DTCS,88.5,88.5,23,NR,,,FM,,,", "145.12500,145.12500,023I,023N,宽,高,添加"},
        {"145.125000,,,DTCS,88.5,88.5,023,RN,,,FM,,,", "145.12500,145.12500,023N,023I,宽,高,添加"},
        {"145.125000,,,DTCS,88.5,88.5,023,RR,,,FM,,,", "145.12500,145.12500,023I,023I,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NN,754,Tone->Tone,FM,,,",
         "145.12500,145.12500,67.0,100.0,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NR,754,Tone->DTCS,FM,,,",
         "145.12500,145.12500,754I,100.0,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,RN,754,DTCS->Tone,FM,,,",
         "145.12500,145.12500,67.0,023I,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NN,754,DTCS->,FM,,,",
         "145.12500,145.12500,无,023N,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NN,754,->Tone,FM,,,",
         "145.12500,145.12500,67.0,无,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NN,754,->DTCS,FM,,,",
         "145.12500,145.12500,754N,无,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,023,NR,754,DTCS->DTCS,FM,,,",
         "145.12500,145.12500,754I,023N,宽,高,添加"},
        {"145.125000,,,Cross,100.0,67.0,025,NN,,,FM,,,", // no cross mode: Tone->Tone
         "145.12500,145.12500,67.0,100.0,宽,高,添加"},
    };
    for (const auto &c : cases) {
        WindowState state;
        const ChannelPlan plan = Import(state, std::string(kCommonHeader) + "0,," + c.row + ",\n");
        ASSERT_EQ(plan.refused.size(), 0u) << c.row << ": " << IssueText(plan.refused[0]);
        EXPECT_EQ(Rows(Ours(state)), std::vector<std::string> {std::string("0,") + c.shown})
            << c.row;
    }
}

TEST(ChannelPlan, SmallestOfSeveralWattagesIsLowPower)
{
    const struct
    {
        const char *powers[3];
        const char *shown;
    } cases[] = {
        {{"1.0W", "5.0W", "5.0W"}, "低高高"},
        {{"5.0W", "0.5W", "1.0W"}, "高低高"},
        {{"5.0W", "5.0W", "5.0W"}, "高高高"},
        {{"High", "low", "Mid"}, "高低高"},
    };
    for (const auto &c : cases) {
        std::string csv = "Location,Frequency,Power\n";
        for (int i = 0; i < 3; ++i)
            csv += std::to_string(i) + ",146.52," + c.powers[i] + "\n";
        WindowState state;
        Import(state, csv);
        std::string shown;
        for (const ChannelEntry &entry : ReadChannels(state.Image, state.FreqAreas))
            shown += entry.flags & mm::kFlagLowPower ? "低" : "高";
        EXPECT_EQ(shown, c.shown) << c.powers[0];
    }
}

TEST(ChannelPlan, BadRowsAreRefusedWithTheirLinesAndChangeNothing)
{
    // Line 3 holds a two-line quoted comment and CRLF ends, so rows and lines differ.
    const std::string csv = "\xEF\xBB\xBF" // a byte-order mark
                            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,DtcsCode,"
                            "DtcsPolarity,Mode,Comment\r\n"
                            "0,\"a, \"\"b\"\"\",145.0,,,,,,,,\r\n"
                            "1,,145.0,,,,,,,,\"two\r\nlines\"\r\n"
                            "128,,145.0,,,,,,,,\r\n"
                            "2,,99.5,,,,,,,,\r\n"
                            "3,,145.0,+,50,,,,,,\r\n"
                            "4,,145.0,,,Tone,69.4,,,,\r\n"
                            "5,,145.0,,,DTCS,,024,,,\r\n"
                            "6,,145.0,,,DTCS,,023,XY,,\r\n"
                            "7,,145.0,,,,,,,AM,\r\n"
                            "0,,146.0,,,,,,,,\r\n"
                            "8,,14x,,,,,,,,\r\n"
                            "9,,145.003,,,,,,,,\r\n"
                            "10,\"open";
    const std::vector<std::pair<int, PlanProblem>> expected = {
        {5, PlanProblem::BadField},      {6, PlanProblem::OutsideBands},
        {7, PlanProblem::OutsideBands},  {8, PlanProblem::ToneNotListed},
        {9, PlanProblem::ToneNotListed}, {10, PlanProblem::BadField},
        {11, PlanProblem::BadField},     {12, PlanProblem::ChannelTwice},
        {13, PlanProblem::BadField},     {15, PlanProblem::UnclosedQuote},
    };
    WindowState state;
    Put(state.Image, mm::ChannelRecord(3), {0x15, 0x00, 0x00, 0x00});
    Put(state.Image, mm::ChannelRecord(4), {0x15, 0x00, 0x00, 0x00});
    AnalyseChInfo(state, state.ChannelView);
    const RadioImage before = state.Image;
    const ChannelPlan plan = Import(state, csv);
    std::vector<std::pair<int, PlanProblem>> refused;
    for (const PlanIssue &issue : plan.refused)
        refused.emplace_back(issue.line, issue.problem);
    EXPECT_EQ(refused, expected);
    EXPECT_EQ(IssueText(plan.refused[1]),
              "Frequency \"99.5\": 99.5 MHz is outside every band's receive limits");
    EXPECT_EQ(IssueText(plan.refused[7]), "Location \"0\": the channel is already on line 2");
    ASSERT_EQ(plan.warnings.size(), 1u);
    EXPECT_EQ(IssueText(plan.warnings[0]),
              "Frequency \"145.003\": moved to the channel raster, stored as 145.00500");
    EXPECT_EQ(plan.warnings[0].line, 14);

    // Only channels 0, 1 and 9 change.
    std::vector<int> changed;
    for (int number = 0; number < mm::kChannelCount; ++number)
        if (!std::equal(state.Image.begin() + mm::ChannelRecord(number + 1),
                        state.Image.begin() + mm::ChannelRecord(number + 2),
                        before.begin() + mm::ChannelRecord(number + 1)))
            changed.push_back(number);
    EXPECT_EQ(changed, (std::vector<int> {0, 1, 9}));
}

TEST(ChannelPlan, OwnLayoutRefusesWhatTheGridCannotShow)
{
    const struct
    {
        const char *row;
        PlanProblem problem;
    } cases[] = {
        {"0,145.12500,,60.0,,宽,高,添加", PlanProblem::ToneNotListed},
        {"0,145.12500,,无,023N,宽,高,添加", PlanProblem::ToneWithoutTx},
        {"0,145.12500,,无,,中,高,添加", PlanProblem::BadField},
        {"0,145.12500,,无,,宽,高,", PlanProblem::BadField},
        {"0,,,无,,宽,高,添加", PlanProblem::BadField},
        {"0,145.12500,400.5,无,无,宽,高,添加", PlanProblem::OutsideBands},
    };
    for (const auto &c : cases) {
        WindowState state;
        state.FreqAreas[1].TxHigh = 400;
        const ChannelPlan plan = Import(state, std::string(kOurHeader) + c.row);
        ASSERT_EQ(plan.refused.size(), 1u) << c.row;
        EXPECT_EQ(plan.refused[0].problem, c.problem) << c.row;
        EXPECT_EQ(plan.refused[0].line, 2);
        EXPECT_EQ(state.Image, WindowState().Image);
    }
}

TEST(ChannelPlan, ReplaceAllClearsTheChannelsNoRowNames)
{
    WindowState state;
    PutOddChannels(state.Image); // channels 0, 2, 4 and 127
    const std::string csv = std::string(kOurHeader) + "2,146.00000,,无,,宽,高,添加\n"
        + "4,999,,无,,宽,高,添加\n"; // refused: channel 4 stays
    const RadioImage before = state.Image;
    const ChannelPlan plan = Import(state, csv, true);
    EXPECT_EQ(plan.overwritten, 3); // 2 rewritten, 0 and 127 cleared
    const std::vector<ChannelEntry> left = ReadChannels(state.Image, state.FreqAreas);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].number, 2);
    EXPECT_EQ(left[0].rxFreq, 14600000);
    EXPECT_TRUE(std::equal(state.Image.begin() + mm::ChannelRecord(5),
                           state.Image.begin() + mm::ChannelRecord(6),
                           before.begin() + mm::ChannelRecord(5)));

    // A file that is no plan clears nothing.
    for (const char *text : {"", "Name,Frequency\n1,146.0\n", "信道号,接收频率\n0,146\n"}) {
        const ChannelPlan none = Import(state, text, true);
        EXPECT_FALSE(none.layout.has_value()) << text;
        EXPECT_EQ(none.refused.size(), 1u);
        EXPECT_EQ(ReadChannels(state.Image, state.FreqAreas).size(), 2u);
    }
}

// Spreadsheets on Chinese Windows save GB18030 (GBK); ours and others save UTF-8 with or
// without a byte-order mark. An empty tone cell is 无.
TEST(ChannelPlan, ImportReadsUtf8AndGb18030AndRefusesOtherText)
{
    const std::string utf8 = std::string(kOurHeader) + "0,145.12500,145.12500,,,宽,低,添加\n";
    const struct
    {
        const char *name;
        std::string bytes;
        bool read;
    } cases[] = {
        {"UTF-8", utf8, true},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, true},
        {"GB18030",
         "\xD0\xC5\xB5\xC0\xBA\xC5,\xBD\xD3\xCA\xD5\xC6\xB5\xC2\xCA,"
         "\xB7\xA2\xC9\xE4\xC6\xB5\xC2\xCA,"
         "\xBD\xD3\xCA\xD5\xD1\xC7\xD2\xF4,\xB7\xA2\xC9\xE4\xD1\xC7\xD2\xF4,"
         "\xBF\xED\xD5\xAD\xB4\xF8,"
         "\xB7\xA2\xC9\xE4\xB9\xA6\xC2\xCA,\xC9\xA8\xC3\xE8\xCC\xED\xBC\xD3/\xC9\xBE\xB3\xFD\r\n"
         "0,145.12500,145.12500,,,\xBF\xED,\xB5\xCD,\xCC\xED\xBC\xD3\r\n",
         true},
        {"GB18030 cut off inside a character", "\xD0\xC5\xB5", false},
        {"UTF-16, as a spreadsheet's Unicode text", std::string("\xFF\xFE\x61\x00", 4), false},
    };
    for (const auto &c : cases) {
        WindowState state;
        const ChannelPlan plan = Import(state, c.bytes);
        if (!c.read) {
            ASSERT_EQ(plan.refused.size(), 1u) << c.name;
            EXPECT_EQ(plan.refused[0].problem, PlanProblem::NotText) << c.name;
            EXPECT_EQ(IssueText(plan.refused[0]),
                      "not a channel plan: the text is neither UTF-8 nor GB18030 (GBK)");
            EXPECT_EQ(state.Image, WindowState().Image) << c.name;
            continue;
        }
        ASSERT_TRUE(plan.refused.empty()) << c.name << ": " << IssueText(plan.refused[0]);
        EXPECT_EQ(Rows(Ours(state)),
                  std::vector<std::string> {"0,145.12500,145.12500,无,无,宽,低,添加"})
            << c.name;
    }
    // Our export says it is UTF-8 to a spreadsheet.
    EXPECT_TRUE(Ours(WindowState()).starts_with("\xEF\xBB\xBF" + std::string(kOurHeader)));
}

// The common layout keeps power and every tone pair the tone list holds; a tone outside the list
// is the one thing it cannot say.
TEST(ChannelPlan, CommonLayoutRoundTripKeepsPowerAndCrossTones)
{
    const ToneCode none;
    const ToneCode ctcss670 {0x70, 0x06};
    const ToneCode ctcss1000 {0x00, 0x10};
    const ToneCode dcs023n {0x23, 0x80};
    const ToneCode dcs754i {0x54, 0xC7};
    const std::vector<ChannelEntry> channels = {
        {0, 14652000, 14652000, ctcss670, ctcss670, mm::kFlagLowPower | mm::kFlagNarrow},
        {1, 14652000, 14712000, ctcss670, ctcss1000, mm::kFlagScan}, // Tone->Tone
        {2, 43500000, 44000000, dcs754i, ctcss1000, mm::kFlagLowPower}, // Tone->DTCS
        {3, 14652000, 14652000, ctcss670, dcs023n, mm::kFlagScan}, // DTCS->Tone
        {4, 14652000, 14652000, none, dcs754i, mm::kFlagLowPower}, // DTCS->
        {5, 14652000, 14652000, ctcss1000, none, mm::kFlagScan}, // ->Tone
        {6, 14500000, std::nullopt, dcs023n, none, mm::kFlagScan}, // ->DTCS, no transmit
        {7, 14652000, 14652000, dcs754i, dcs023n, mm::kFlagScan}, // DTCS->DTCS
        {8, 14652000, 14652000, dcs023n, {0x23, 0xC0}, mm::kFlagScan}, // DTCS, NR
        {127, 14652000, 14652000, none, ctcss1000, mm::kFlagLowPower}, // Tone
    };
    std::vector<ExportLoss> losses;
    const std::string csv = ExportChannelPlan(channels, PlanLayout::Common, &losses);
    EXPECT_TRUE(csv.starts_with("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                                "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,"
                                "Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"));
    EXPECT_TRUE(losses.empty());
    WindowState state;
    const ChannelPlan plan = Import(state, csv);
    ASSERT_TRUE(plan.refused.empty()) << IssueText(plan.refused[0]);
    EXPECT_EQ(ReadChannels(state.Image, state.FreqAreas), channels) << csv;

    // A tone outside the list: that side is lost, and said so.
    const ChannelEntry unlisted {9, 14652000, 14652000, {0x70, 0x16}, ctcss670, mm::kFlagScan};
    ExportChannelPlan({unlisted}, PlanLayout::Common, &losses);
    ASSERT_EQ(losses.size(), 1u);
    EXPECT_EQ(losses[0].channel, 9);
    EXPECT_EQ(losses[0].what, "receive tone 167.0");
}

// Files written before the layout had RxDtcsCode, CrossMode and Power still import.
TEST(ChannelPlan, CommonLayoutOlderHeaderStillImports)
{
    WindowState state;
    const ChannelPlan plan
        = Import(state,
                 "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                 "DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
                 "0,,146.520000,,0.000000,TSQL,88.5,67.0,023,NN,NFM,5.00,,,,,,\n"
                 "5,,435.000000,+,5.000000,DTCS,88.5,88.5,023,NR,FM,5.00,S,,,,,\n"
                 "9,,145.000000,-,0.600000,Tone,100.0,88.5,023,NN,FM,5.00,,,,,,\n");
    ASSERT_TRUE(plan.refused.empty()) << IssueText(plan.refused[0]);
    EXPECT_EQ(Rows(Ours(state)),
              (std::vector<std::string> {
                  "0,146.52000,146.52000,67.0,67.0,窄,高,添加",
                  "5,435.00000,440.00000,023I,023N,宽,高,删除",
                  "9,145.00000,144.40000,无,100.0,宽,高,添加",
              }));
}

} // namespace
} // namespace nx5rb
