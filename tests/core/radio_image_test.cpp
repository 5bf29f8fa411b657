// The image right after start-up, the band-start records and the tune working copy.
#include "app/window_state.h"
#include "support/image_bytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Get;
using test::Put;

void Fill(RadioImage &image, mm::Address from, int count, std::uint8_t value)
{
    std::fill_n(image.begin() + from, count, value);
}

// The factory image byte by byte, written out here without any of the code's own default writers.
RadioImage ExpectedStartUpImage()
{
    RadioImage image;
    image.fill(0xFF);
    const mm::Address a = mm::kFreqAreaRecord[0];
    const mm::Address b = mm::kFreqAreaRecord[1];
    const mm::Address c = mm::kFreqAreaRecord[2];
    Put(image, a, {0x13, 0x60, 0x17, 0x50, 0x13, 0x60, 0x17, 0x50, 0x13, 0x40});
    Put(image, a + 10, {0xFF, 0xFF, 0x37, 0xFF});
    Put(image, b, {0x40, 0x00, 0x47, 0x00, 0x40, 0x00, 0x47, 0x00, 0x40, 0x00});
    Put(image, c, {0x20, 0x00, 0x26, 0x00, 0x20, 0x00, 0x26, 0x00, 0x20, 0x00});

    const mm::Address tuneA = mm::kTuneBlock[0];
    const mm::Address tuneB = mm::kTuneBlock[1];
    const mm::Address tuneC = mm::kTuneBlock[2];
    Fill(image, tuneA, 16, 0x12);
    Fill(image, tuneC, 16, 0x12);
    Fill(image, tuneA + 16, 9, 0x82);
    Fill(image, tuneC + 16, 9, 0x82);
    Fill(image, tuneA + 25, 7, 0x50);
    Fill(image, tuneC + 25, 7, 0x82);
    Fill(image, tuneA + 32, 16, 0xC8);
    Fill(image, tuneC + 32, 16, 0xC8);
    Fill(image, tuneB, 5, 0x11);
    Fill(image, tuneB + 5, 1, 0x12);
    Fill(image, tuneB + 6, 10, 0x13);
    Fill(image, tuneB + 16, 16, 0x82);
    Fill(image, tuneB + 32, 11, 0xC8);
    Fill(image, tuneB + 43, 5, 0xD2);
    for (mm::Address tune : {tuneC, tuneA, tuneB})
        Put(image, tune + 48,
            {0x53, 0x52, 0x3F, 0x3E, 0x20, 0x1E, 0x6E, 0x67, 0x51, 0x50, 0x3D, 0x3B, 0x20, 0x1E,
             0x28, 0x25});
    for (mm::Address settings : mm::kSettingsBlock)
        Put(image, settings, {0x1A, 0x0F, 0x0B, 0x00, 0x2B, 0x0E, 0x0E});
    Put(image, mm::kSettingsBlock[1] + 14, {0x32, 0x58});

    const std::string_view lines[]
        = {"  EXAMPLE  TR3", "VER 1.02014/05", "www.example.cn", "TEL 400-000000"};
    for (int line = 0; line < 4; ++line)
        std::copy(lines[line].begin(), lines[line].end(),
                  image.begin() + mm::kPowerOnMsg + 16 * line);

    // Computed by the start-up apply: band A 136 and band B 400, plus 25 kHz; wide, high, scan.
    Put(image, mm::kBandStartRecord0, {0x13, 0x60, 0x25, 0x00, 0x13, 0x60, 0x25, 0x00});
    Put(image, mm::kBandStartRecord0 + 12, {0x04, 0x00});
    Put(image, mm::kBandStartRecord1, {0x40, 0x00, 0x25, 0x00, 0x40, 0x00, 0x25, 0x00});
    Put(image, mm::kBandStartRecord1 + 12, {0x04, 0x00});
    return image;
}

TEST(MemoryMap, RegionsFollowEachOtherAsTheRadioLaysThemOut)
{
    // Pinned through their neighbours, so a slip in one address breaks a chain here.
    EXPECT_EQ(mm::kPowerOnMsgEnd, mm::kImageSize);
    EXPECT_EQ(mm::kPowerOnMsg, mm::kImageSize - 4 * 16);
    EXPECT_EQ(mm::kTuneRegionEnd, mm::kPowerOnMsg - 16);
    EXPECT_EQ(mm::kSettingsBlock[2], mm::kTuneRegionEnd - 16);
    EXPECT_EQ(mm::kSettingsBlock[1], mm::kSettingsBlock[2] - 16);
    EXPECT_EQ(mm::kSettingsBlock[0], mm::kSettingsBlock[1] - 16);
    EXPECT_EQ(mm::kTuneBlock[1], mm::kSettingsBlock[0] - 64);
    EXPECT_EQ(mm::kTuneBlock[0], mm::kTuneBlock[1] - 64);
    EXPECT_EQ(mm::kTuneBlock[2], mm::kTuneBlock[0] - 64);
    EXPECT_EQ(mm::kTuneRegionStart, mm::kTuneBlock[2]);
    EXPECT_EQ(mm::kMaxOffset, mm::kSettingsBlock[1] + 14);
    EXPECT_EQ(mm::kSettingsMarker, mm::kSettingsBlock[1] + 15);
    EXPECT_EQ(mm::kBandASettingsByte9, mm::kSettingsBlock[0] + 9);
    EXPECT_EQ(mm::kBandBSettingsByte9, mm::kSettingsBlock[1] + 9);

    EXPECT_EQ(mm::kChannelTableStart, mm::ChannelRecord(1));
    EXPECT_EQ(mm::kChannelTableStart, 16);
    EXPECT_EQ(mm::kChannelTableEnd, mm::ChannelRecord(128) + 16);
    EXPECT_EQ(mm::kBandStartRecord0, mm::kChannelTableEnd);
    EXPECT_EQ(mm::kBandStartRecord1, mm::kBandStartRecord0 + 16);
    EXPECT_EQ(mm::kBandStartEnd, mm::kBandStartRecord1 + 16);

    EXPECT_EQ(mm::kFreqAreaBlock, mm::kFreqAreaRecord[2]);
    EXPECT_EQ(mm::kFreqAreaRecord[0], mm::kFreqAreaRecord[2] + 16);
    EXPECT_EQ(mm::kFreqAreaRecord[1], mm::kFreqAreaRecord[0] + 16);
    EXPECT_EQ(mm::kFreqAreaBlockEnd, mm::kFreqAreaRecord[1] + 16);
    EXPECT_EQ(mm::kWorkBandsCode, mm::kFreqAreaRecord[0] + 10);
    EXPECT_EQ(mm::kWorkChannel, mm::kFreqAreaRecord[0] + 11);
    // The band information the radio sends first: 48 bytes, 464 bytes below the tune region.
    EXPECT_EQ(mm::kFreqAreaBlockSize, 48);
    EXPECT_EQ(mm::kTuneRegionStart - mm::kFreqAreaBlock, 464);
}

TEST(StartUp, ImageHoldsTheDefaultTableAndNothingElse)
{
    const WindowState state;
    const RadioImage expected = ExpectedStartUpImage();
    for (std::size_t a = 0; a < mm::kImageSize; ++a)
        EXPECT_EQ(int(state.Image[a]), int(expected[a])) << "at image byte " << a;
    EXPECT_FALSE(state.DataChanged);
    EXPECT_FALSE(state.ChangesPending());
}

TEST(StartUp, TuneBufferMirrorsBandsAThenBThenC)
{
    WindowState state;
    // Distinct bytes everywhere, so a block copied to the wrong third shows.
    for (int band = 0; band < mm::kBandCount; ++band)
        for (int i = 0; i < mm::kTuneBlockSize; ++i)
            state.Image[mm::kTuneBlock[band] + i] = std::uint8_t(band * 64 + i);
    AnalyseTuneData(state, state.TuneViews, state.ModulationViews);
    for (int i = 0; i < 192; ++i)
        EXPECT_EQ(state.TuneBuffer[i], i);
    EXPECT_EQ(state.TuneBuffer[0], state.Image[mm::kTuneBlock[0]]);
    EXPECT_EQ(state.TuneBuffer[128], state.Image[mm::kTuneRegionStart]);

    // The way back: an edit of the working copy lands in the block of its band.
    state.TuneBuffer[64 + 5] = 0xAB;
    state.Apply();
    EXPECT_EQ(state.Image[mm::kTuneBlock[1] + 5], 0xAB);
    EXPECT_EQ(state.Image[mm::kTuneBlock[0] + 5], 5);
    EXPECT_EQ(state.Image[mm::kTuneBlock[2] + 5], 128 + 5);
}

struct BandStartCase
{
    std::uint8_t code;
    Bytes record0; // the receive lower limit word of the band each record starts in
    Bytes record1;
};

class BandStartTest : public testing::TestWithParam<BandStartCase>
{
};

TEST_P(BandStartTest, RecordsFollowTheBandCombination)
{
    WindowState state;
    // Limits other than the defaults, so the records must come from the working copy.
    state.FreqAreas[0].RxLow = 150;
    state.FreqAreas[1].RxLow = 430;
    state.FreqAreas[2].RxLow = 210;
    state.WorkBandsCode = GetParam().code;
    // Bytes the records do not own keep whatever they held.
    for (mm::Address record : {mm::kBandStartRecord0, mm::kBandStartRecord1})
        Put(state.Image, record,
            {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,
             0x0F, 0x10});
    state.Apply();

    const auto expected = [](const Bytes &word) {
        return Bytes {word[0], word[1], 0x25, 0x00, word[0], word[1], 0x25, 0x00,
                      0x09,    0x0A,    0x0B, 0x0C, 0x04,    0x00,    0x0F, 0x10};
    };
    EXPECT_EQ(Get(state.Image, mm::kBandStartRecord0, 16), expected(GetParam().record0));
    EXPECT_EQ(Get(state.Image, mm::kBandStartRecord1, 16), expected(GetParam().record1));
}

const Bytes kA = {0x15, 0x00};
const Bytes kB = {0x43, 0x00};
const Bytes kC = {0x21, 0x00};
INSTANTIATE_TEST_SUITE_P(Codes, BandStartTest,
                         testing::Values(BandStartCase {0x48, kA, kA}, BandStartCase {0x37, kB, kB},
                                         BandStartCase {0x59, kC, kC}, BandStartCase {0x6A, kA, kB},
                                         BandStartCase {0x7B, kA, kC}, BandStartCase {0x8C, kB, kC},
                                         BandStartCase {0xFF, kA, kB},
                                         BandStartCase {0x52, kA, kB}));

TEST(BandStart, MovesWithTheAppliedReceiveLowerLimit)
{
    WindowState state;
    state.WorkBandsCode = 0x8C;
    state.Apply();
    EXPECT_EQ(Get(state.Image, mm::kBandStartRecord0, 8),
              (Bytes {0x40, 0x00, 0x25, 0x00, 0x40, 0x00, 0x25, 0x00}));
    EXPECT_EQ(Get(state.Image, mm::kBandStartRecord1, 8),
              (Bytes {0x20, 0x00, 0x25, 0x00, 0x20, 0x00, 0x25, 0x00}));

    state.FreqAreas[1].RxLow = 410;
    state.Apply();
    EXPECT_EQ(Get(state.Image, mm::kBandStartRecord0, 8),
              (Bytes {0x41, 0x00, 0x25, 0x00, 0x41, 0x00, 0x25, 0x00}));
}

} // namespace
} // namespace nx5rb
