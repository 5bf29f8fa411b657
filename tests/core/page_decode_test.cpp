// What each page shows for a given image: frequency areas, tune tables with their shaded
// columns, modulation settings, power-on message and channel rows.
#include "app/window_state.h"
#include "support/image_bytes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Put;

std::vector<std::string> Row(const TextGrid &grid, int row, int firstCol, int lastCol)
{
    std::vector<std::string> cells;
    for (int col = firstCol; col <= lastCol; ++col)
        cells.push_back(grid.Text(row, col));
    return cells;
}

std::vector<std::string> Points(int first, int step)
{
    std::vector<std::string> points;
    for (int k = 0; k < 16; ++k)
        points.push_back((k == 15 ? "≥" : "") + std::to_string(first + k * step));
    return points;
}

TEST(AnalyseFreqArea, StartUpShowsTheDefaults)
{
    const WindowState state;
    const std::vector<std::vector<std::string>> cells = {{"136", "175", "136", "175", "134"},
                                                         {"400", "470", "400", "470", "400"},
                                                         {"200", "260", "200", "260", "200"}};
    for (int band = 0; band < 3; ++band) {
        const TextGrid &grid = state.FreqAreaView.Grids[band];
        EXPECT_EQ((std::vector<std::string> {grid.Text(1, 1), grid.Text(1, 2), grid.Text(2, 1),
                                             grid.Text(2, 2), grid.Text(3, 1)}),
                  cells[band]);
        EXPECT_EQ(grid.Text(3, 2), "-");
        EXPECT_EQ(grid.Text(4, 2), "-");
        EXPECT_EQ(grid.Text(4, 1), "");
    }
    EXPECT_EQ(state.FreqAreaView.Grids[1].Text(0, 0), "频段-B(400-520)");
    EXPECT_EQ(state.FreqAreaView.BandCombinationItem, 6);
    EXPECT_EQ(state.FreqAreaView.ChannelItem, (std::array<int, 3> {0, 1, 0}));
    EXPECT_EQ(state.WorkChannel, (std::array<std::uint8_t, 3> {0xFF, 0x37, 0xFF}));
}

TEST(AnalyseFreqArea, CellTextAndTheNumberItStandsFor)
{
    const struct
    {
        Bytes word;
        const char *text;
        int value;
    } cases[] = {
        {{0x13, 0x60}, "136", 136}, {{0x13, 0x05}, "135", 135}, {{0xFF, 0xFF}, "FFF", 0},
        {{0x05, 0x00}, "50", 50},   {{0x00, 0x00}, "00", 0},    {{0x1A, 0x00}, "1A0", 1},
        {{0xA0, 0x00}, "A00", 0},   {{0x99, 0x9F}, "999", 999},
    };
    for (const auto &c : cases) {
        WindowState state;
        // Band C's receive lower limit: band C is never repaired, so any bytes can be shown.
        Put(state.Image, mm::kFreqAreaRecord[2], c.word);
        AnalyseFreqArea(state, state.FreqAreaView);
        EXPECT_EQ(state.FreqAreaView.Grids[2].Text(1, 1), c.text);
        EXPECT_EQ(state.FreqAreas[2].RxLow, c.value) << c.text;
    }
}

TEST(AnalyseFreqArea, ListsFollowTheImageAndKeepUnknownCodes)
{
    const struct
    {
        std::uint8_t code;
        int item;
    } cases[] = {{0x48, 0}, {0x37, 1}, {0x59, 2}, {0x6A, 3}, {0x7B, 4},
                 {0x8C, 5}, {0xFF, 6}, {0x52, 6}, {0x00, 6}};
    for (const auto &c : cases) {
        WindowState state;
        state.Image[mm::kWorkBandsCode] = c.code;
        Put(state.Image, mm::kWorkChannel, {0x37, 0x00, 0x37});
        AnalyseFreqArea(state, state.FreqAreaView);
        EXPECT_EQ(state.FreqAreaView.BandCombinationItem, c.item) << int(c.code);
        EXPECT_EQ(state.WorkBandsCode, c.code);
        EXPECT_EQ(state.FreqAreaView.ChannelItem, (std::array<int, 3> {1, 0, 1}));
        EXPECT_EQ(state.WorkChannel, (std::array<std::uint8_t, 3> {0x37, 0x00, 0x37}));
        EXPECT_FALSE(state.ChangesPending());
    }
}

TEST(AnalyseFreqArea, UnknownCodeIsWrittenBackUntilAnItemIsPicked)
{
    WindowState state;
    state.Image[mm::kWorkBandsCode] = 0x52;
    AnalyseFreqArea(state, state.FreqAreaView);
    state.Apply();
    EXPECT_EQ(state.Image[mm::kWorkBandsCode], 0x52);
    ComboSelFreqArea_Click(state, state.FreqAreaView, 6);
    state.Apply();
    EXPECT_EQ(state.Image[mm::kWorkBandsCode], 0xFF);
}

TEST(AnalyseTuneData, StartUpPointsAndEdges)
{
    const WindowState state;
    const struct
    {
        std::vector<std::string> points;
        int edge;
    } bands[] = {{Points(134, 5), 10}, {Points(400, 8), 10}, {Points(200, 5), 14}};
    for (int band = 0; band < 3; ++band) {
        EXPECT_EQ(Row(state.TuneViews[band].Tune, 0, 1, 16), bands[band].points);
        EXPECT_EQ(state.RxEdgeCol[band], bands[band].edge);
        EXPECT_EQ(state.TxEdgeCol[band], bands[band].edge);
    }
    EXPECT_EQ(Row(state.TuneViews[1].Tune, 1, 1, 7),
              (std::vector<std::string> {"17", "17", "17", "17", "17", "18", "19"}));
    EXPECT_EQ(Row(state.TuneViews[0].Tune, 2, 9, 10), (std::vector<std::string> {"130", "80"}));
    EXPECT_EQ(Row(state.TuneViews[2].Squelch, 1, 1, 8),
              (std::vector<std::string> {"83", "63", "32", "110", "81", "61", "32", "40"}));
    EXPECT_EQ(Row(state.TuneViews[2].Squelch, 2, 1, 8),
              (std::vector<std::string> {"82", "62", "30", "103", "80", "59", "30", "37"}));
}

TEST(AnalyseTuneData, ShadedCellsFromTheEdgeOn)
{
    WindowState state;
    state.FreqAreas[0].TxHigh = 160;
    state.Apply();
    ASSERT_EQ(state.RxEdgeCol[0], 10);
    ASSERT_EQ(state.TxEdgeCol[0], 7); // 164 MHz
    for (int col = 1; col <= 16; ++col) {
        EXPECT_EQ(TuneCellShaded(state, 0, 1, col), col >= 10) << col;
        EXPECT_EQ(TuneCellShaded(state, 0, 2, col), col >= 7) << col;
        EXPECT_EQ(TuneCellShaded(state, 0, 3, col), col >= 7) << col;
        EXPECT_FALSE(TuneCellShaded(state, 0, 0, col));
    }
}

TEST(AnalyseTuneData, NoPointAboveTheLimitsLeavesEveryColumnOpen)
{
    WindowState state;
    state.FreqAreas[1].RxHigh = 520;
    state.FreqAreas[1].TxHigh = 520;
    state.Apply();
    EXPECT_EQ(state.RxEdgeCol[1], 17);
    EXPECT_EQ(state.TxEdgeCol[1], 17);
    EXPECT_FALSE(TuneCellShaded(state, 1, 1, 16));
    EXPECT_FALSE(TuneCellShaded(state, 1, 3, 16));
}

TEST(AnalyseTuneData, PointsFollowTheAppliedTuningFrequency)
{
    WindowState state;
    state.FreqAreas[1].TuneFreq = 410;
    AnalyseTuneData(
        state, state.TuneViews,
        state.ModulationViews); // the points come from the image, not from the working copy
    EXPECT_EQ(state.TuneViews[1].Tune.Text(0, 1), "400");

    state.Apply();
    EXPECT_EQ(Row(state.TuneViews[1].Tune, 0, 1, 16), Points(410, 8));
    EXPECT_EQ(state.TuneViews[1].Tune.Text(0, 15), "522");
    EXPECT_EQ(state.TuneViews[1].Tune.Text(0, 16), "≥530");
    EXPECT_EQ(state.RxEdgeCol[1], 9); // 474 MHz
}

TEST(AnalyseTuneData, ErasedTuningFrequencyCountsAsZero)
{
    WindowState state;
    Put(state.Image, mm::kFreqAreaRecord[2] + mm::kFreqAreaTuneFreq, {0xFF, 0xFF});
    state.SetEdgesStale();
    AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
    std::vector<std::string> expected = Points(0, 5);
    expected[0] = "FFF";
    EXPECT_EQ(Row(state.TuneViews[2].Tune, 0, 1, 16), expected);
    EXPECT_EQ(state.RxEdgeCol[2], 17);
}

TEST(DecodeModulation, BoxesShowTheRecordOfEachBand)
{
    WindowState state;
    Put(state.Image, mm::kSettingsBlock[2], {31, 127, 15, 0x03, 0xFF, 63, 0});
    AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
    const auto &a = state.ModulationViews[0].Response;
    EXPECT_EQ(std::vector<std::string>(a.begin(), a.end()),
              (std::vector<std::string> {"26", "15", "11", "43", "14", "14"}));
    const auto &c = state.ModulationViews[2].Response;
    EXPECT_EQ(std::vector<std::string>(c.begin(), c.end()),
              (std::vector<std::string> {"31", "127", "15", "1023", "63", "0"}));
    for (int band = 0; band < 3; ++band)
        EXPECT_EQ(state.ModulationViews[band].MaxOffset, "50");
    EXPECT_EQ(state.MaxOffset, 50);
}

TEST(DecodeModulation, TotalDeviationWithTheTopBitSetShowsNothing)
{
    const struct
    {
        Bytes word;
        const char *text;
    } cases[] = {{{0x03, 0xE8}, "1000"},  {{0x00, 0xFF}, "255"}, {{0x01, 0x00}, "256"},
                 {{0x7F, 0xFF}, "32767"}, {{0x80, 0x00}, ""},    {{0xFF, 0xFF}, ""}};
    for (const auto &c : cases) {
        WindowState state;
        Put(state.Image, mm::kSettingsBlock[0] + 3, c.word);
        AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
        EXPECT_EQ(state.ModulationViews[0].Response[3], c.text);
    }
}

TEST(DecodeModulation, ErasedRecord)
{
    WindowState state;
    std::fill_n(state.Image.begin() + mm::kSettingsBlock[1], 16, 0xFF);
    AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
    const auto &b = state.ModulationViews[1].Response;
    EXPECT_EQ(std::vector<std::string>(b.begin(), b.end()),
              (std::vector<std::string> {"255", "255", "255", "", "255", "255"}));
    EXPECT_EQ(state.ModulationViews[1].MaxOffset, "255");
    for (int i = 16; i < 32; ++i)
        EXPECT_EQ(state.ModulationRecords[i], 0xFF);
}

TEST(DecodeModulation, BytesNotShownAreCarriedThrough)
{
    WindowState state;
    Put(state.Image, mm::kSettingsBlock[0] + 7, {0x42, 0x43, 0x44});
    state.Image[mm::kSettingsBlock[2] + 15] = 0x45;
    AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
    state.DataChanged = true;
    state.Apply();
    EXPECT_EQ(state.Image[mm::kSettingsBlock[0] + 7], 0x42);
    EXPECT_EQ(state.Image[mm::kSettingsBlock[0] + 9], 0x44);
    EXPECT_EQ(state.Image[mm::kSettingsBlock[2] + 15], 0x45);
}

TEST(AnalysePowerOnMsg, StartUpLinesAndUnprintableBytes)
{
    WindowState state;
    EXPECT_EQ(PowerOnLineText(state.PowerOnView, 0), "  EXAMPLE  TR3");
    EXPECT_EQ(PowerOnLineText(state.PowerOnView, 1), "VER 1.02014/05");
    EXPECT_EQ(PowerOnLineText(state.PowerOnView, 2), "www.example.cn");
    EXPECT_EQ(PowerOnLineText(state.PowerOnView, 3), "TEL 400-000000");

    Put(state.Image, mm::kPowerOnMsg + 16, {0x01, 0x1F, 0x20, 0x7E, 0x7F, 0x80, 0xFF, 'a'});
    AnalysePowerOnMsg(state, state.PowerOnView);
    EXPECT_EQ(PowerOnLineText(state.PowerOnView, 1), "   ~   a014/05");
    EXPECT_EQ(state.PowerOnMsg[14 + 0], 0x20);
    EXPECT_EQ(state.PowerOnMsg[14 + 3], 0x7E);
    EXPECT_EQ(state.PowerOnMsg[14 + 6], 0x20);
    EXPECT_EQ(state.PowerOnView.Boxes[14 + 3], "~");
}

TEST(AnalysePowerOnMsg, ErasedImageGivesSpaces)
{
    WindowState state;
    EraseImage(state.Image);
    AnalysePowerOnMsg(state, state.PowerOnView);
    for (int line = 0; line < 4; ++line)
        EXPECT_EQ(PowerOnLineText(state.PowerOnView, line), std::string(14, ' '));
    for (std::uint8_t c : state.PowerOnMsg)
        EXPECT_EQ(c, 0x20);
}

TEST(AnalyseChInfo, RowsOfExistingChannels)
{
    WindowState state;
    // 1: complete; 2: no transmit frequency; 3: no receive frequency; 4: transmit outside every
    // band; 5: receive not BCD; 128: the last record of the table.
    Put(state.Image, mm::ChannelRecord(1),
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0x04, 0x00});
    Put(state.Image, mm::ChannelRecord(2),
        {0x43, 0x30, 0x06, 0x25, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x23, 0x80, 0x30, 0x00});
    Put(state.Image, mm::ChannelRecord(3),
        {0xFF, 0xFF, 0xFF, 0xFF, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x70, 0x06, 0x04, 0x00});
    Put(state.Image, mm::ChannelRecord(4),
        {0x13, 0x60, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x06, 0xC5, 0x70, 0x06, 0x85, 0x00});
    Put(state.Image, mm::ChannelRecord(5),
        {0x1A, 0x00, 0x00, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x70, 0x06, 0x04, 0x00});
    Put(state.Image, mm::ChannelRecord(128),
        {0x26, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x23, 0x40, 0x41, 0x25, 0x34, 0x00});
    AnalyseChInfo(state, state.ChannelView);

    using Cells = std::vector<std::string>;
    const TextGrid &grid = state.ChannelView.Grid;
    EXPECT_EQ(Row(grid, 1, 0, 7),
              (Cells {"0", "145.12500", "145.12500", "67.0", "023N", "宽", "高", "添加"}));
    EXPECT_EQ(Row(grid, 2, 0, 7), (Cells {"1", "433.00625", "", "无", "", "窄", "低", "删除"}));
    EXPECT_EQ(Row(grid, 3, 0, 7), (Cells {"2", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(grid, 4, 0, 7), (Cells {"3", "136.00000", "", "506I", "", "宽", "高", "添加"}));
    EXPECT_EQ(Row(grid, 5, 0, 7), (Cells {"4", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(grid, 128, 0, 7),
              (Cells {"127", "260.00000", "200.00000", "", "254.1", "窄", "低", "添加"}));
    EXPECT_EQ(Row(grid, 0, 0, 7),
              (Cells {"信道号", "接收频率", "发射频率", "接收亚音", "发射亚音", "宽窄带",
                      "发射功率", "扫描添加/删除"}));
}

TEST(AnalyseChInfo, LimitsComeFromTheWorkingBandsAndOldRowsAreCleared)
{
    WindowState state;
    Put(state.Image, mm::ChannelRecord(9),
        {0x13, 0x60, 0x00, 0x00, 0x13, 0x60, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00});
    AnalyseChInfo(state, state.ChannelView);
    EXPECT_EQ(state.ChannelView.Grid.Text(9, kColTxFreq), "136.00000");
    EXPECT_EQ(state.ChannelView.Grid.Text(9, kColTxTone), "无");

    state.FreqAreas[0].TxLow = 140; // the same field is now no valid transmit frequency
    AnalyseChInfo(state, state.ChannelView);
    EXPECT_EQ(state.ChannelView.Grid.Text(9, kColRxFreq), "136.00000");
    EXPECT_EQ(state.ChannelView.Grid.Text(9, kColTxFreq), "");
    EXPECT_EQ(state.ChannelView.Grid.Text(9, kColTxTone), "");

    std::fill_n(state.Image.begin() + mm::ChannelRecord(9), 16, 0xFF);
    AnalyseChInfo(state, state.ChannelView);
    EXPECT_EQ(Row(state.ChannelView.Grid, 9, 1, 7), std::vector<std::string>(7, ""));
}

} // namespace
} // namespace nx5rb
