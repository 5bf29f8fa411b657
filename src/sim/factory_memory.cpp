#include "sim/factory_memory.h"

#include "image/freq_codec.h"
#include "image/tone_codec.h"

#include <algorithm>

namespace nx5rb {

namespace {

constexpr int kPoints = 16;
constexpr int kDetectionColumns = 8;

// Calibration of a real set varies from point to point: receive sensitivity is best in the middle
// of the band and falls off towards its ends, and the drive needed for the same output power
// drops as the frequency rises. Each band is a little different.
std::uint8_t Sensitivity(int band, int point)
{
    return std::uint8_t(22 + (point - 6) * (point - 6) / 4 + 2 * band);
}

std::uint8_t LowPower(int band, int point)
{
    return std::uint8_t(118 - 2 * point + point % 3 + 4 * band);
}

std::uint8_t HighPower(int band, int point)
{
    return std::uint8_t(212 - 3 * point + 2 * (point % 2) - 6 * band);
}

// High squelch threshold of detection columns 1..8 (wide, then narrow); the low threshold sits a
// few steps below it, so that the squelch has some hysteresis.
constexpr std::array<int, kDetectionColumns> kSquelchHigh = {92, 71, 44, 120, 86, 66, 38, 50};

// Per band: settings 1..3, total deviation, tone deviation, code deviation.
struct BandSettings
{
    std::uint8_t response1;
    std::uint8_t response2;
    std::uint8_t response3;
    std::uint16_t totalDeviation;
    std::uint8_t toneDeviation;
    std::uint8_t codeDeviation;
};
constexpr std::array<BandSettings, mm::kBandCount> kSettings = {{
    {24, 20, 9, 600, 18, 22},
    {22, 35, 7, 640, 16, 20},
    {20, 28, 8, 580, 17, 21},
}};
// 6.0 kHz, in units of 0.1 kHz.
constexpr std::uint8_t kMaxOffset = 60;

struct Channel
{
    int number;
    std::string_view rx;
    std::string_view tx; // empty: receive only
    std::string_view rxTone;
    std::string_view txTone;
    std::uint8_t flags;
};
constexpr std::uint8_t kWideHighScan = mm::kFlagScan;
constexpr std::array<Channel, 9> kChannels = {{
    {1, "145.12500", "145.12500", "88.5", "88.5", kWideHighScan},
    {2, "146.52000", "", "无", "无", mm::kFlagNarrow | mm::kFlagLowPower | mm::kFlagScan},
    {3, "438.50000", "431.10000", "023N", "023N", kWideHighScan},
    {4, "446.00625", "446.00625", "67.0", "67.0", mm::kFlagNarrow | mm::kFlagLowPower},
    {5, "462.56250", "467.56250", "754I", "754I", mm::kFlagNarrow | mm::kFlagScan},
    {6, "223.50000", "223.50000", "100.0", "100.0", kWideHighScan},
    {7, "245.00000", "", "205N", "无", mm::kFlagLowPower},
    {10, "162.55000", "", "无", "无", mm::kFlagNarrow},
    {11, "156.80000", "156.80000", "254.1", "506I", kWideHighScan},
}};

void WriteTone(RadioImage &image, std::string_view text, mm::Address offset)
{
    QtToData(QtIndexOf(text), text, image, offset);
}

void WriteTuneBlocks(RadioImage &image)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        const mm::Address base = mm::kTuneBlock[band];
        for (int point = 0; point < kPoints; ++point) {
            image[base + mm::kTuneSensitivity + point] = Sensitivity(band, point);
            image[base + mm::kTuneLowPower + point] = LowPower(band, point);
            image[base + mm::kTuneHighPower + point] = HighPower(band, point);
        }
        for (int column = 0; column < kDetectionColumns; ++column) {
            const int high = kSquelchHigh[column] - 2 * band;
            image[base + mm::kTuneSquelch + 2 * column] = std::uint8_t(high);
            image[base + mm::kTuneSquelch + 2 * column + 1] = std::uint8_t(high - 3 - column % 3);
        }
    }
}

void WriteSettingsBlocks(RadioImage &image)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        const BandSettings &s = kSettings[band];
        const std::array<std::uint8_t, 7> bytes = {s.response1,
                                                   s.response2,
                                                   s.response3,
                                                   std::uint8_t(s.totalDeviation >> 8),
                                                   std::uint8_t(s.totalDeviation & 0xFF),
                                                   s.toneDeviation,
                                                   s.codeDeviation};
        std::copy(bytes.begin(), bytes.end(), image.begin() + mm::kSettingsBlock[band]);
    }
    image[mm::kMaxOffset] = kMaxOffset;
    image[mm::kSettingsMarker] = mm::kSettingsMarkerValue;
}

void WriteChannels(RadioImage &image)
{
    for (const Channel &channel : kChannels) {
        const mm::Address record = mm::ChannelRecord(channel.number);
        FreqToData(channel.rx, image, record + mm::kChRxFreq);
        WriteTone(image, channel.rxTone, record + mm::kChRxTone);
        if (!channel.tx.empty()) {
            FreqToData(channel.tx, image, record + mm::kChTxFreq);
            WriteTone(image, channel.txTone, record + mm::kChTxTone);
        }
        image[record + mm::kChFlags] = channel.flags;
        image[record + mm::kChReserved] = 0x00;
    }
}

void WriteBandStartRecords(RadioImage &image)
{
    FreqAreaTable areas {};
    for (int band = 0; band < mm::kBandCount; ++band) {
        const auto &limits = defaults::kFreqAreas[band];
        areas[band] = {std::int16_t(limits[0]), std::int16_t(limits[1]), std::int16_t(limits[2]),
                       std::int16_t(limits[3]), std::int16_t(limits[4])};
    }
    WriteBandStartRecord(image, 0, areas, defaults::kWorkBandsCode);
    WriteBandStartRecord(image, 1, areas, defaults::kWorkBandsCode);
}

void WritePowerOnMessage(RadioImage &image)
{
    for (int line = 0; line < mm::kPowerOnLines; ++line) {
        const std::string_view text = kFactoryPowerOnMessage[line];
        std::copy(text.begin(), text.end(),
                  image.begin() + mm::kPowerOnMsg + line * mm::kPowerOnLineStride);
    }
}

constexpr bool PowerOnLinesFit()
{
    for (std::string_view line : kFactoryPowerOnMessage) {
        if (line.size() != std::size_t(mm::kPowerOnLineLength))
            return false;
        for (char c : line)
            if (c < 0x20 || c > 0x7E)
                return false;
    }
    return true;
}
static_assert(PowerOnLinesFit(), "every power-on line is 14 printable characters");

} // namespace

RadioImage FactoryMemory()
{
    RadioImage image {};
    EraseImage(image);
    WriteFreqAreaDefaults(image);
    WriteTuneBlocks(image);
    WriteSettingsBlocks(image);
    WriteChannels(image);
    WriteBandStartRecords(image);
    WritePowerOnMessage(image);
    return image;
}

} // namespace nx5rb
