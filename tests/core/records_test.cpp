// The typed record views, read over the virtual radio's factory memory and written over an image.
#include "image/records.h"
#include "sim/factory_memory.h"
#include "support/image_bytes.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace nx5rb {
namespace {

Frequency MHz(int mhz, int khz = 0, int tensOfHz = 0)
{
    return Frequency::FromMHz(mhz, khz, tensOfHz);
}

TEST(ChannelRecord, ReadsTheFactoryChannels)
{
    const RadioImage image = FactoryMemory();
    const FreqAreaTable areas = BandInfoOf(image).Areas();
    const std::optional<Frequency> none;
    const std::optional<Tone> noTone = Tone();
    const struct
    {
        int channel;
        std::optional<Frequency> rx, tx;
        std::optional<Tone> rxTone, txTone;
        bool narrow, lowPower, scan, exists, transmits;
    } cases[] = {
        {1, MHz(145, 125), MHz(145, 125), Tone::Ctcss(885), Tone::Ctcss(885), false, false, true,
         true, true},
        {2, MHz(146, 520), none, noTone, noTone, true, true, true, true, false},
        {3, MHz(438, 500), MHz(431, 100), Tone::Dcs(23, false), Tone::Dcs(23, false), false, false,
         true, true, true},
        {4, MHz(446, 6, 25), MHz(446, 6, 25), Tone::Ctcss(670), Tone::Ctcss(670), true, true, false,
         true, true},
        {5, MHz(462, 562, 50), MHz(467, 562, 50), Tone::Dcs(754, true), Tone::Dcs(754, true), true,
         false, true, true, true},
        {7, MHz(245), none, Tone::Dcs(205, false), noTone, false, true, false, true, false},
        {11, MHz(156, 800), MHz(156, 800), Tone::Ctcss(2541), Tone::Dcs(506, true), false, false,
         true, true, true},
        {128, none, none, noTone, noTone, true, true, true, false, false}, // erased: all bits set
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.channel);
        const ConstChannelRecord record = ChannelAt(image, c.channel);
        EXPECT_EQ(record.RxFrequency(), c.rx);
        EXPECT_EQ(record.TxFrequency(), c.tx);
        EXPECT_EQ(record.RxTone(), c.rxTone);
        EXPECT_EQ(record.TxTone(), c.txTone);
        EXPECT_EQ(record.Narrow(), c.narrow);
        EXPECT_EQ(record.LowPower(), c.lowPower);
        EXPECT_EQ(record.InScan(), c.scan);
        EXPECT_EQ(record.Exists(areas), c.exists);
        EXPECT_EQ(record.TransmitExists(areas), c.transmits);
    }
    // Band-start records: band A's and band B's receive lower limit, plus 25 kHz.
    EXPECT_EQ(BandStartAt(image, 0).RxFrequency(), MHz(136, 25));
    EXPECT_EQ(BandStartAt(image, 1).TxFrequency(), MHz(400, 25));
}

TEST(ChannelRecord, ExistsOnlyInsideTheLimitsOfTheSideItChecks)
{
    RadioImage image;
    EraseImage(image);
    const ChannelRecord record = ChannelAt(image, 9);
    FreqAreaTable areas {};
    areas[2] = {136, 174, 144, 146, 0};
    const struct
    {
        Frequency frequency;
        bool receives, transmits;
    } cases[] = {
        {MHz(136), true, false},       {MHz(135, 999, 99), false, false},
        {MHz(174), true, false},       {MHz(174, 0, 1), false, false},
        {MHz(144), true, true},        {MHz(146), true, true},
        {MHz(146, 0, 1), true, false},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(record.SetRxFrequency(c.frequency));
        ASSERT_TRUE(record.SetTxFrequency(c.frequency));
        EXPECT_EQ(record.Exists(areas), c.receives) << c.frequency.TensOfHz();
        EXPECT_EQ(record.TransmitExists(areas), c.transmits) << c.frequency.TensOfHz();
    }
}

TEST(BandInfo, ReadsTheFactoryBandInformation)
{
    const RadioImage image = FactoryMemory();
    const ConstBandInfo info = BandInfoOf(image);
    const FreqAreaTable expected
        = {{{136, 175, 136, 175, 134}, {400, 470, 400, 470, 400}, {200, 260, 200, 260, 200}}};
    EXPECT_EQ(info.Areas(), expected);
    EXPECT_EQ(info.Area(1).Limit(4), 400);
    EXPECT_EQ(info.BandsCode(), kBandsABC);
    EXPECT_EQ((std::array {info.Uhf(0), info.Uhf(1), info.Uhf(2)}),
              (std::array {false, true, false}));
}

TEST(TuneTable, ReadsTheFactoryCalibration)
{
    const RadioImage image = FactoryMemory();
    const struct
    {
        int band, point;
        int sensitivity, lowPower, highPower;
    } points[]
        = {{0, 0, 31, 118, 212}, {0, 6, 22, 106, 194}, {1, 5, 24, 114, 193}, {2, 15, 46, 96, 157}};
    for (const auto &p : points) {
        const ConstTuneTable table = TuneTableOf(image, p.band);
        EXPECT_EQ(table.Sensitivity(p.point), p.sensitivity) << p.band << ' ' << p.point;
        EXPECT_EQ(table.LowPower(p.point), p.lowPower) << p.band << ' ' << p.point;
        EXPECT_EQ(table.HighPower(p.point), p.highPower) << p.band << ' ' << p.point;
    }
    const struct
    {
        int band, column;
        int high, low;
    } squelch[] = {{0, 0, 92, 89}, {0, 2, 44, 39}, {1, 3, 118, 115}, {2, 7, 46, 42}};
    for (const auto &s : squelch) {
        EXPECT_EQ(TuneTableOf(image, s.band).SquelchHigh(s.column), s.high) << s.band;
        EXPECT_EQ(TuneTableOf(image, s.band).SquelchLow(s.column), s.low) << s.band;
    }
}

TEST(Modulation, ReadsTheFactorySettingsAndMaximumOffset)
{
    const RadioImage image = FactoryMemory();
    const ConstModulation modulation = ModulationOf(image);
    const std::array<std::array<int, 6>, mm::kBandCount> expected
        = {{{24, 20, 9, 600, 18, 22}, {22, 35, 7, 640, 16, 20}, {20, 28, 8, 580, 17, 21}}};
    for (int band = 0; band < mm::kBandCount; ++band)
        for (int setting = 0; setting < ConstModulation::kSettings; ++setting)
            EXPECT_EQ(modulation.Setting(band, setting), expected[band][setting])
                << band << ' ' << setting;
    EXPECT_EQ(modulation.MaxOffset(), 60);
}

TEST(PowerOnMessage, ReadsTheFactoryLines)
{
    const RadioImage image = FactoryMemory();
    for (int line = 0; line < mm::kPowerOnLines; ++line)
        EXPECT_EQ(PowerOnMessageOf(image).Line(line), kFactoryPowerOnMessage[line]);
}

// Each write goes through the view to the image's own bytes, and to those of its field only.
TEST(RecordViews, WritesChangeTheirOwnBytesOfTheImageOnly)
{
    const struct
    {
        const char *what;
        std::function<void(RadioImage &)> write;
        mm::Address at;
        int size;
    } cases[] = {
        {"rx frequency", [](RadioImage &i) { ChannelAt(i, 128).SetRxFrequency(MHz(1)); },
         mm::ChannelRecord(128) + mm::kChRxFreq, 4},
        {"tx frequency", [](RadioImage &i) { ChannelAt(i, 1).SetTxFrequency(MHz(1)); },
         mm::ChannelRecord(1) + mm::kChTxFreq, 4},
        {"rx tone", [](RadioImage &i) { ChannelAt(i, 2).SetRxTone(Tone()); },
         mm::ChannelRecord(2) + mm::kChRxTone, 2},
        {"tx tone", [](RadioImage &i) { ChannelAt(i, 2).SetTxTone(Tone::Dcs(23, true)); },
         mm::ChannelRecord(2) + mm::kChTxTone, 2},
        {"narrow", [](RadioImage &i) { ChannelAt(i, 3).SetNarrow(true); },
         mm::ChannelRecord(3) + mm::kChFlags, 1},
        {"band start", [](RadioImage &i) { BandStartAt(i, 1).SetInScan(true); },
         mm::kBandStartRecord1 + mm::kChFlags, 1},
        {"limit", [](RadioImage &i) { BandInfoOf(i).Area(2).SetLimit(4, 123); },
         mm::kFreqAreaRecord[2] + 8, 2},
        {"bands", [](RadioImage &i) { BandInfoOf(i).SetBandsCode(kBandsBC); }, mm::kWorkBandsCode,
         1},
        {"channel", [](RadioImage &i) { BandInfoOf(i).SetWorkChannel(2, kChannelUhf); },
         mm::kWorkChannel + 2, 1},
        {"high power", [](RadioImage &i) { TuneTableOf(i, 2).SetHighPower(15, 1); },
         mm::kTuneBlock[2] + mm::kTuneHighPower + 15, 1},
        {"squelch low", [](RadioImage &i) { TuneTableOf(i, 1).SetSquelchLow(7, 1); },
         mm::kTuneBlock[1] + mm::kTuneSquelch + 15, 1},
        {"deviation", [](RadioImage &i) { ModulationOf(i).SetSetting(2, 3, 0x0102); },
         mm::kSettingsBlock[2] + 3, 2},
        {"code deviation", [](RadioImage &i) { ModulationOf(i).SetSetting(1, 5, 1); },
         mm::kSettingsBlock[1] + 6, 1},
        {"max offset", [](RadioImage &i) { ModulationOf(i).SetMaxOffset(1); }, mm::kMaxOffset, 1},
        {"message", [](RadioImage &i) { PowerOnMessageOf(i).SetChar(3, 13, '!'); },
         mm::kPowerOnMsg + 3 * 16 + 13, 1},
    };
    for (const auto &c : cases) {
        RadioImage image;
        image.fill(0x5A);
        c.write(image);
        std::set<int> changed;
        for (int a = 0; a < int(mm::kImageSize); ++a)
            if (image[a] != 0x5A)
                changed.insert(a);
        std::set<int> expected;
        for (int a = c.at; a < c.at + c.size; ++a)
            expected.insert(a);
        EXPECT_EQ(changed, expected) << c.what;
    }
}

TEST(ChannelRecord, FlagWritesKeepTheOtherBits)
{
    RadioImage image {};
    const ChannelRecord record = ChannelAt(image, 4);
    image[mm::ChannelRecord(4) + mm::kChFlags] = 0xC3;
    record.SetNarrow(true);
    record.SetLowPower(true);
    record.SetInScan(true);
    EXPECT_EQ(record.Flags(), 0xC3 | mm::kFlagNarrow | mm::kFlagLowPower | mm::kFlagScan);
    record.SetLowPower(false);
    EXPECT_EQ(record.Flags(), 0xC3 | mm::kFlagNarrow | mm::kFlagScan);
    EXPECT_TRUE(record.Narrow() && !record.LowPower() && record.InScan());
}

} // namespace
} // namespace nx5rb
