// The factory memory seen through the tool's own eyes: opened as a data file it must decode into
// pages that show channels, values inside their ranges and a readable power-on message.
#include "app/file_commands.h"
#include "app/window_state.h"
#include "editors/channel_view.h"
#include "editors/modulation_view.h"
#include "editors/power_on_view.h"
#include "editors/tune_table_view.h"
#include "image/data_file.h"
#include "image/freq_codec.h"
#include "image/tone_codec.h"
#include "sim/factory_memory.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace nx5rb {
namespace {

// Any message the open shows is a failure of the memory.
class RecordingPrompt : public Prompt
{
public:
    PromptAnswer Show(const PromptMessage &message) override
    {
        shown.push_back(message);
        return PromptAnswer::Ok;
    }
    std::vector<PromptMessage> shown;
};

class SimFactoryMemory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto file = DataFileBytes(memory);
        ASSERT_EQ(OpenDataBytes(state, file, prompt), OpenResult::Opened);
        ASSERT_TRUE(prompt.shown.empty());
    }

    static int Number(const std::string &text)
    {
        const auto value = ParseDecimal(text);
        EXPECT_TRUE(value.has_value()) << '"' << text << '"';
        return value ? int(*value) : -1;
    }

    const RadioImage memory = FactoryMemory();
    WindowState state;
    RecordingPrompt prompt;
};

TEST_F(SimFactoryMemory, IsAlreadyAsTheToolWouldRepairIt)
{
    // Opening runs the repair of a loaded image; nothing in the factory memory needs it.
    EXPECT_EQ(state.Image, memory);
}

TEST_F(SimFactoryMemory, UnusedRangesAndUnusedChannelsAreErased)
{
    struct Range
    {
        mm::Address from;
        mm::Address to;
    };
    for (const Range range :
         {Range {0, mm::kChannelTableStart}, Range {mm::kBandStartEnd, mm::kFreqAreaBlock},
          Range {mm::kFreqAreaBlockEnd, mm::kTuneRegionStart},
          Range {mm::kTuneRegionEnd, mm::kPowerOnMsg}}) {
        for (int a = range.from; a < range.to; ++a)
            ASSERT_EQ(memory[a], mm::kErased) << std::hex << a;
    }
    const ChannelCells &channels = state.ChannelView;
    for (int n = 1; n <= mm::kChannelCount; ++n) {
        if (!channels.Grid.Text(n, kColRxFreq).empty())
            continue;
        for (int i = 0; i < mm::kChannelRecordSize; ++i)
            ASSERT_EQ(memory[mm::ChannelRecord(n) + i], mm::kErased) << "channel " << n;
    }
}

TEST_F(SimFactoryMemory, FrequencyAreaBlockHoldsTheDefaultBandLimits)
{
    RadioImage defaults {};
    EraseImage(defaults);
    WriteFreqAreaDefaults(defaults);
    EXPECT_TRUE(std::equal(memory.begin() + mm::kFreqAreaBlock,
                           memory.begin() + mm::kFreqAreaBlockEnd,
                           defaults.begin() + mm::kFreqAreaBlock));
    for (int band = 0; band < mm::kBandCount; ++band) {
        const auto &limits = defaults::kFreqAreas[band];
        const FreqArea expected {std::int16_t(limits[0]), std::int16_t(limits[1]),
                                 std::int16_t(limits[2]), std::int16_t(limits[3]),
                                 std::int16_t(limits[4])};
        EXPECT_EQ(state.FreqAreas[band], expected) << "band " << band;
    }
}

TEST_F(SimFactoryMemory, BandStartRecordsAreWhatApplyingTheAreasComputes)
{
    const RadioImage before = state.Image;
    state.Apply();
    EXPECT_TRUE(std::equal(before.begin() + mm::kBandStartRecord0,
                           before.begin() + mm::kBandStartEnd,
                           state.Image.begin() + mm::kBandStartRecord0));
    EXPECT_EQ(DataToFreq(memory, mm::kBandStartRecord0), "136.02500");
}

TEST_F(SimFactoryMemory, ChannelTableShowsAHandfulOfVariedChannelsOnEveryBand)
{
    const TextGrid &grid = state.ChannelView.Grid;
    std::set<int> bands;
    std::set<std::string> seen;
    int channels = 0;
    int receiveOnly = 0;
    for (int n = 1; n <= mm::kChannelCount; ++n) {
        const std::string &rx = grid.Text(n, kColRxFreq);
        if (rx.empty())
            continue;
        ++channels;
        const double mhz = *ParseDecimal(rx);
        for (int band = 0; band < mm::kBandCount; ++band)
            if (mhz >= state.FreqAreas[band].RxLow && mhz <= state.FreqAreas[band].RxHigh)
                bands.insert(band);
        if (grid.Text(n, kColTxFreq).empty()) {
            ++receiveOnly;
            EXPECT_TRUE(grid.Text(n, kColTxTone).empty());
        }
        for (int col : {kColRxTone, kColTxTone}) {
            const std::string &tone = grid.Text(n, col);
            if (tone.empty())
                continue;
            // Every tone is one the tool's list offers.
            if (tone != kNoTone) {
                EXPECT_NE(QtIndexOf(tone), 0) << tone;
            }
            seen.insert(tone == kNoTone          ? "none"
                            : tone.back() == 'N' ? "dcs normal"
                            : tone.back() == 'I' ? "dcs inverted"
                                                 : "ctcss");
        }
        for (int col : {kColBandwidth, kColPower, kColScan})
            seen.insert(grid.Text(n, col));
    }
    EXPECT_GE(channels, 6);
    EXPECT_LE(channels, 10);
    EXPECT_EQ(bands, (std::set<int> {0, 1, 2}));
    EXPECT_GE(receiveOnly, 1);
    using namespace channel_text;
    for (std::string_view wanted :
         {std::string_view("none"), std::string_view("ctcss"), std::string_view("dcs normal"),
          std::string_view("dcs inverted"), kNarrow, kWide, kLow, kHigh, kScanAdd, kScanDelete})
        EXPECT_TRUE(seen.count(std::string(wanted))) << wanted;
}

TEST_F(SimFactoryMemory, TuneTablesVaryAcrossThePointsWithinTheirRanges)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        SCOPED_TRACE(band);
        const TuneCells &page = state.TuneViews[band];
        // Row 1 sensitivity 0..127, rows 2 and 3 power 0..255.
        for (int row = 1; row <= 3; ++row) {
            std::set<int> values;
            for (int col = 1; col <= kTunePoints; ++col) {
                const int value = Number(page.Tune.Text(row, col));
                EXPECT_GE(value, 0);
                EXPECT_LE(value, row == 1 ? 127 : 255);
                values.insert(value);
            }
            EXPECT_GE(values.size(), 4u) << "row " << row;
        }
        for (int col = 1; col <= kSquelchColumns; ++col) {
            const int high = Number(page.Squelch.Text(1, col));
            const int low = Number(page.Squelch.Text(2, col));
            EXPECT_GT(high, low) << "column " << col;
            EXPECT_GE(low, 0);
            EXPECT_LE(high, 127);
        }
    }
}

TEST_F(SimFactoryMemory, SettingsAreShownAndWithinTheirRanges)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        SCOPED_TRACE(band);
        const ModulationBoxes &page = state.ModulationViews[band];
        for (int field = 0; field < kModulationFields; ++field) {
            const int value = Number(page.Response[field]);
            EXPECT_GE(value, 0);
            EXPECT_LE(value, kModulationViewRows[field].editor.max[band]) << "field " << field;
        }
        const int offset = Number(page.MaxOffset);
        EXPECT_GT(offset, 0);
        EXPECT_LE(offset, kMaxOffsetRow.editor.max[band]);
    }
    EXPECT_EQ(memory[mm::kSettingsMarker], mm::kSettingsMarkerValue);
}

TEST_F(SimFactoryMemory, PowerOnMessageIsFourReadableLines)
{
    for (int line = 0; line < mm::kPowerOnLines; ++line) {
        const std::string text = PowerOnLineText(state.PowerOnView, line);
        EXPECT_EQ(text, kFactoryPowerOnMessage[line]);
        EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << "line " << line;
        // The two bytes after each line stay erased.
        const mm::Address end
            = mm::kPowerOnMsg + line * mm::kPowerOnLineStride + mm::kPowerOnLineLength;
        EXPECT_EQ(memory[end], mm::kErased);
        EXPECT_EQ(memory[end + 1], mm::kErased);
    }
}

// A read from the factory radio must change what a freshly started tool shows on every page
// that a read can reach beyond the band limits.
TEST_F(SimFactoryMemory, DiffersFromTheToolsStartUpImageInEveryReadableRegion)
{
    const WindowState fresh;
    struct Region
    {
        const char *name;
        mm::Address from;
        mm::Address to;
    };
    for (const Region region : {Region {"channels", mm::kChannelTableStart, mm::kChannelTableEnd},
                                Region {"tune C", mm::kTuneBlock[2], mm::kTuneBlock[0]},
                                Region {"tune A", mm::kTuneBlock[0], mm::kTuneBlock[1]},
                                Region {"tune B", mm::kTuneBlock[1], mm::kSettingsBlock[0]},
                                Region {"settings", mm::kSettingsBlock[0], mm::kTuneRegionEnd},
                                Region {"message", mm::kPowerOnMsg, mm::kPowerOnMsgEnd}}) {
        EXPECT_FALSE(std::equal(memory.begin() + region.from, memory.begin() + region.to,
                                fresh.Image.begin() + region.from))
            << region.name;
    }
    for (int line = 0; line < mm::kPowerOnLines; ++line)
        EXPECT_NE(PowerOnLineText(state.PowerOnView, line),
                  PowerOnLineText(fresh.PowerOnView, line))
            << "line " << line;
}

} // namespace
} // namespace nx5rb
