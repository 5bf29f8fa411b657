// Keeping the image and the working copies in step: repair after a load, apply, discard, and the
// test for unapplied edits.
#include "app/window_state.h"
#include "support/image_bytes.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Get;
using test::Put;

const mm::Address kSetA = mm::kSettingsBlock[0];
const mm::Address kSetB = mm::kSettingsBlock[1];
const mm::Address kSetC = mm::kSettingsBlock[2];
const mm::Address kAreaA = mm::kFreqAreaRecord[0];
const mm::Address kAreaB = mm::kFreqAreaRecord[1];
const mm::Address kAreaC = mm::kFreqAreaRecord[2];

// Bytes at which two images differ, with the value in `after`.
std::map<std::size_t, int> Changes(const RadioImage &before, const RadioImage &after)
{
    std::map<std::size_t, int> changes;
    for (std::size_t a = 0; a < before.size(); ++a)
        if (before[a] != after[a])
            changes[a] = after[a];
    return changes;
}

struct RepairCase
{
    const char *name;
    std::function<void(RadioImage &)> load; // what the loaded image holds
    std::map<std::size_t, int> repaired; // what ModifyData changes, nothing else
};

class ModifyDataTest : public testing::TestWithParam<RepairCase>
{
};

TEST_P(ModifyDataTest, RepairsOnlyWhatIsDamaged)
{
    WindowState state;
    GetParam().load(state.Image);
    const RadioImage loaded = state.Image;
    RadioImage expected = loaded;
    for (const auto &[at, value] : GetParam().repaired)
        expected[at] = std::uint8_t(value);
    state.ModifyData();
    EXPECT_EQ(Changes(loaded, state.Image), Changes(loaded, expected));
}

std::map<std::size_t, int> Run(mm::Address at, const Bytes &bytes)
{
    std::map<std::size_t, int> run;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        run[at + i] = bytes[i];
    return run;
}

INSTANTIATE_TEST_SUITE_P(
    Loads, ModifyDataTest,
    testing::Values(
        RepairCase {"Intact", [](RadioImage &) {}, {}},
        RepairCase {"SettingOneAbove31",
                    [](RadioImage &i) {
                        Put(i, kSetA, {0x25, 0x44});
                    },
                    Run(kSetA, {0x03, 0xE8})},
        RepairCase {"SettingOneAt31Stays",
                    [](RadioImage &i) {
                        Put(i, kSetA, {0x1F, 0x44});
                    },
                    {}},
        RepairCase {"SettingThreeErased",
                    [](RadioImage &i) {
                        Put(i, kSetA + 2, {0xFF, 0x00});
                    },
                    Run(kSetA + 2, {0x03, 0xE8})},
        RepairCase {"BothPairsOfBandB",
                    [](RadioImage &i) {
                        Put(i, kSetB, {0x20, 0x01, 0x40, 0x02});
                    },
                    Run(kSetB, {0x03, 0xE8, 0x03, 0xE8})},
        RepairCase {"BandCSettingsNeverRepaired",
                    [](RadioImage &i) {
                        Put(i, kSetC, {0xFF, 0xFF, 0xFF, 0xFF});
                    },
                    {}},
        RepairCase {"MarkerByte",
                    [](RadioImage &i) { i[mm::kSettingsMarker] = 0x00; },
                    {{mm::kSettingsMarker, 0x58}}},
        RepairCase {
            "AreaAHighNibble",
            [](RadioImage &i) {
                Put(i, kAreaA,
                    {0x14, 0x00, 0xA7, 0x50, 0x14, 0x00, 0x17, 0x50, 0x14, 0x00, 0x6A, 0x37, 0x37});
            },
            Run(kAreaA, {0x13, 0x60, 0x17, 0x50, 0x13, 0x60, 0x17, 0x50, 0x13, 0x40, 0x52, 0x00})},
        RepairCase {
            "AreaBLowNibble", [](RadioImage &i) { i[kAreaB + 9] = 0x0B; },
            Run(kAreaB, {0x23, 0x50, 0x25, 0x60, 0x23, 0x50, 0x25, 0x60, 0x20, 0x00, 0x52, 0x00})},
        RepairCase {"AreaWithNinesIsIntact",
                    [](RadioImage &i) {
                        Put(i, kAreaA, {0x99, 0x90, 0x99, 0x90});
                    },
                    {}},
        RepairCase {"AreaCNeverRepaired",
                    [](RadioImage &i) {
                        Put(i, kAreaC, {0xFF, 0xFF, 0xAB, 0xCD});
                    },
                    {}}),
    [](const testing::TestParamInfo<RepairCase> &info) { return info.param.name; });

TEST(ModifyData, RepairedAreaShowsAllBandsAndVhfAfterDecode)
{
    WindowState state;
    Put(state.Image, kAreaA, {0xFF, 0xFF});
    state.CompleteRead();
    EXPECT_EQ(state.FreqAreas[0], (FreqArea {136, 175, 136, 175, 134}));
    EXPECT_EQ(state.WorkBandsCode, 0x52);
    EXPECT_EQ(state.FreqAreaView.BandCombinationItem, 6);
    EXPECT_EQ(state.FreqAreaView.ChannelItem[0], 0);
}

TEST(CompleteRead, ByteNineOfBandBIsAdjustedOnlyWhenBothEcho)
{
    const struct
    {
        std::uint8_t a9, b9, expectedB9;
    } cases[] = {{0x89, 0x89, 0x3B}, {0x89, 0x12, 0x12}, {0x12, 0x89, 0x89}, {0xFF, 0xFF, 0xFF}};
    for (const auto &c : cases) {
        WindowState state;
        state.Image[mm::kBandASettingsByte9] = c.a9;
        state.Image[mm::kBandBSettingsByte9] = c.b9;
        state.CompleteRead();
        EXPECT_EQ(state.Image[mm::kBandASettingsByte9], c.a9);
        EXPECT_EQ(state.Image[mm::kBandBSettingsByte9], c.expectedB9);
        // The record copies are decoded after the adjustment.
        EXPECT_EQ(state.ModulationRecords[16 + 9], c.expectedB9);
    }
}

TEST(CompleteRead, DecodesEveryPageFromTheNewImage)
{
    WindowState state;
    Put(state.Image, kAreaA, {0x14, 0x00, 0x16, 0x00});
    Put(state.Image, mm::ChannelRecord(1), {0x14, 0x50, 0x00, 0x00});
    state.Image[mm::kPowerOnMsg] = 'Q';
    state.Image[mm::kTuneBlock[0]] = 99;
    state.CompleteRead();
    EXPECT_EQ(state.FreqAreas[0].RxLow, 140);
    EXPECT_EQ(state.FreqAreaView.Grids[0].Text(1, 2), "160");
    EXPECT_EQ(state.RxEdgeCol[0], 7); // 134 + 6 * 5 = 164 is the first point above 160
    EXPECT_EQ(state.ChannelView.Grid.Text(1, kColRxFreq), "145.00000");
    EXPECT_EQ(state.PowerOnView.Boxes[0], "Q");
    EXPECT_EQ(state.TuneBuffer[0], 99);
}

TEST(RefreshData, WritesEveryWorkingCopyAndNothingElse)
{
    WindowState state;
    // Bytes that no working copy owns must survive an apply.
    Put(state.Image, mm::ChannelRecord(3), {0x14, 0x50, 0x12, 0x50, 0xFF, 0xFF, 0xFF, 0xFF});
    Put(state.Image, mm::kPowerOnMsg + 14, {0x12, 0x34});
    Put(state.Image, mm::kPowerOnMsg + 3 * 16 + 14, {0x56, 0x78});
    state.Image[0] = 0x00;
    state.Image[mm::kFreqAreaBlockEnd - 1] = 0x77;
    const RadioImage before = state.Image;

    state.FreqAreas[1] = {410, 500, 415, 490, 405};
    state.WorkBandsCode = 0x37;
    state.WorkChannel = {0x37, 0xFF, 0x00};
    state.TuneBuffer[2 * 64 + 48] = 0x11; // band C squelch, block at the lowest address
    state.ModulationRecords[0] = 0x1E;
    state.ModulationRecords[16 + 14] = 0x99; // band B's byte +14 is the shared maximum offset...
    state.MaxOffset = 0x40; // ...and the shared copy wins
    state.PowerOnMsg[13] = 'X';
    state.PowerOnMsg[55] = 'Y';
    state.RefreshData();

    std::map<std::size_t, int> expected
        = {{kAreaB, 0x41},
           {kAreaB + 2, 0x50},
           {kAreaB + 4, 0x41},
           {kAreaB + 5, 0x50},
           {kAreaB + 6, 0x49},
           {kAreaB + 9, 0x50},
           {mm::kWorkBandsCode, 0x37},
           {mm::kWorkChannel, 0x37},
           {mm::kWorkChannel + 1, 0xFF},
           {mm::kWorkChannel + 2, 0x00},
           {mm::kTuneBlock[2] + 48, 0x11},
           {kSetA, 0x1E},
           {mm::kMaxOffset, 0x40},
           {mm::kPowerOnMsg + 13, 'X'},
           {mm::kPowerOnMsg + 3 * 16 + 13, 'Y'},
           // Band-start records for band B alone: 410 + 25 kHz in both (they held 136 and 400).
           {mm::kBandStartRecord0, 0x41},
           {mm::kBandStartRecord0 + 1, 0x00},
           {mm::kBandStartRecord0 + 4, 0x41},
           {mm::kBandStartRecord0 + 5, 0x00},
           {mm::kBandStartRecord1, 0x41},
           {mm::kBandStartRecord1 + 4, 0x41}};
    EXPECT_EQ(Changes(before, state.Image), expected);

    // The tune pages are decoded last, from the image just written.
    EXPECT_EQ(state.TuneViews[1].Tune.Text(0, 1), "405");
    EXPECT_EQ(state.ModulationViews[2].MaxOffset, "64");
    EXPECT_EQ(state.ModulationRecords[16 + 14], 0x40);
}

TEST(RefreshData, EdgesFollowOnlyWhenMarkedStale)
{
    WindowState state;
    state.FreqAreas[0].RxHigh = 200;
    state.RefreshData(); // as a caller that forgot to mark the edges
    EXPECT_EQ(state.RxEdgeCol[0], 10);
    state.Apply();
    EXPECT_EQ(state.RxEdgeCol[0], 15); // 204 MHz
    EXPECT_EQ(state.TxEdgeCol[0], 10);
}

TEST(ChangesPending, DataChangedOrListsDifferingFromTheImage)
{
    WindowState state;
    EXPECT_FALSE(state.ChangesPending());

    ComboSelFreqArea_Click(state, state.FreqAreaView, 0);
    EXPECT_FALSE(state.DataChanged);
    EXPECT_TRUE(state.ChangesPending());
    ComboSelFreqArea_Click(state, state.FreqAreaView, 6); // back to the image's 0xFF
    EXPECT_FALSE(state.ChangesPending());

    state.WorkChannel[2] = 0x37;
    EXPECT_TRUE(state.ChangesPending());
    state.Apply();
    EXPECT_FALSE(state.ChangesPending());

    state.DataChanged = true;
    EXPECT_TRUE(state.ChangesPending());
}

TEST(DiscardEdits, RestoresTheWorkingCopiesFromTheImage)
{
    WindowState state;
    const WindowState fresh;
    state.FreqAreas[0].RxLow = 150;
    state.FreqAreaView.Grids[0].SetText(1, 1, "150");
    state.WorkBandsCode = 0x48;
    state.WorkChannel[0] = 0x37;
    state.TuneBuffer[3] = 1;
    state.ModulationRecords[5] = 2;
    state.MaxOffset = 3;
    state.PowerOnMsg[0] = 'Z';
    state.PowerOnView.Boxes[0] = "Z";
    state.DataChanged = true;
    state.RxEdgeCol[0] = 5; // only an apply or a load recomputes the edges

    state.DiscardEdits();
    EXPECT_EQ(state.Image, fresh.Image);
    EXPECT_FALSE(state.DataChanged);
    EXPECT_FALSE(state.ChangesPending());
    EXPECT_EQ(state.FreqAreas, fresh.FreqAreas);
    EXPECT_EQ(state.FreqAreaView.Grids, fresh.FreqAreaView.Grids);
    EXPECT_EQ(state.TuneBuffer, fresh.TuneBuffer);
    EXPECT_EQ(state.ModulationRecords, fresh.ModulationRecords);
    EXPECT_EQ(state.MaxOffset, fresh.MaxOffset);
    EXPECT_EQ(state.PowerOnMsg, fresh.PowerOnMsg);
    EXPECT_EQ(state.PowerOnView.Boxes, fresh.PowerOnView.Boxes);
    EXPECT_EQ(state.RxEdgeCol[0], 5);
}

TEST(Apply, WritesClearsAndRecomputes)
{
    WindowState state;
    state.FreqAreas[0].TxHigh = 160;
    state.DataChanged = true;
    state.Apply();
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(Get(state.Image, kAreaA + 6, 2), (Bytes {0x16, 0x00}));
    EXPECT_EQ(state.TxEdgeCol[0], 7); // 164 MHz
    EXPECT_EQ(state.RxEdgeCol[0], 10);

    // Applying again without edits changes nothing.
    const RadioImage once = state.Image;
    state.ApplyIfChanged();
    state.Apply();
    EXPECT_EQ(state.Image, once);
}

} // namespace
} // namespace nx5rb
