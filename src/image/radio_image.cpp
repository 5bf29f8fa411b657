#include "image/radio_image.h"

#include "image/freq_codec.h"

#include <algorithm>

namespace nx5rb {

namespace {

constexpr std::uint8_t kSensitivity = 18;
constexpr std::uint8_t kLowPower = 130;
constexpr std::uint8_t kHighPower = 200;

// (high, low) squelch thresholds of detection columns 1..8, the same for every band.
constexpr std::array<std::uint8_t, 16> kSquelch
    = {83, 82, 63, 62, 32, 30, 110, 103, 81, 80, 61, 59, 32, 30, 40, 37};

// Settings 1..3, total deviation (high, low), tone and code deviation.
constexpr std::array<std::uint8_t, 7> kSettings = {0x1A, 0x0F, 0x0B, 0x00, 0x2B, 0x0E, 0x0E};
constexpr std::uint8_t kMaxOffsetDefault = 0x32;

// Wide band, high power, in the scan list.
constexpr std::uint8_t kBandStartFlags = 0x04;

void Fill(RadioImage &image, mm::Address from, int count, std::uint8_t value)
{
    std::fill_n(image.begin() + from, count, value);
}

} // namespace

void EraseImage(RadioImage &image)
{
    image.fill(mm::kErased);
}

void WriteFreqAreaDefaults(RadioImage &image)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        const mm::Address base = mm::kFreqAreaRecord[band];
        for (int field = 0; field < 5; ++field) {
            const std::uint16_t word = NumToBCD3(defaults::kFreqAreas[band][field]);
            image[base + 2 * field] = std::uint8_t(word >> 8);
            image[base + 2 * field + 1] = std::uint8_t(word & 0xFF);
        }
    }
    image[mm::kWorkBandsCode] = defaults::kWorkBandsCode;
    for (int band = 0; band < mm::kBandCount; ++band)
        image[mm::kWorkChannel + band] = defaults::kWorkChannel[band];
}

void WriteTuneDefaults(RadioImage &image)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        const mm::Address base = mm::kTuneBlock[band];
        Fill(image, base + mm::kTuneSensitivity, 16, kSensitivity);
        Fill(image, base + mm::kTuneLowPower, 16, kLowPower);
        Fill(image, base + mm::kTuneHighPower, 16, kHighPower);
        std::copy(kSquelch.begin(), kSquelch.end(), image.begin() + base + mm::kTuneSquelch);
        std::copy(kSettings.begin(), kSettings.end(), image.begin() + mm::kSettingsBlock[band]);
    }
    // Band A: low power drops from the tenth point on.
    Fill(image, mm::kTuneBlock[0] + mm::kTuneLowPower + 9, 7, 80);
    // Band B: sensitivity 17 at points 1..5, 18 at point 6, 19 above; high power 210 from 12.
    const mm::Address b = mm::kTuneBlock[1];
    Fill(image, b + mm::kTuneSensitivity, 5, 17);
    Fill(image, b + mm::kTuneSensitivity + 6, 10, 19);
    Fill(image, b + mm::kTuneHighPower + 11, 5, 210);

    image[mm::kMaxOffset] = kMaxOffsetDefault;
    image[mm::kSettingsMarker] = mm::kSettingsMarkerValue;
}

void WriteBandStartRecord(RadioImage &image, int record, const FreqAreaTable &areas,
                          std::uint8_t workBandsCode)
{
    // Bands of record 0 and record 1 for each single-band and two-band combination; every other
    // code (A + B, all three, unknown) starts with A and B.
    int band0 = 0;
    int band1 = 1;
    switch (workBandsCode) {
    case kBandsA:
        band0 = band1 = 0;
        break;
    case kBandsB:
        band0 = band1 = 1;
        break;
    case kBandsC:
        band0 = band1 = 2;
        break;
    case kBandsAC:
        band0 = 0;
        band1 = 2;
        break;
    case kBandsBC:
        band0 = 1;
        band1 = 2;
        break;
    default:
        break;
    }
    const int band = record == 0 ? band0 : band1;
    const mm::Address base = record == 0 ? mm::kBandStartRecord0 : mm::kBandStartRecord1;
    const std::uint16_t word = NumToBCD3(areas[band].RxLow);
    for (mm::Address freq : {mm::kChRxFreq, mm::kChTxFreq}) {
        image[base + freq] = std::uint8_t(word >> 8);
        image[base + freq + 1] = std::uint8_t(word & 0xFF);
        image[base + freq + 2] = 0x25;
        image[base + freq + 3] = 0x00;
    }
    image[base + mm::kChFlags] = kBandStartFlags;
    image[base + mm::kChReserved] = 0x00;
}

void WritePowerOnDefaults(RadioImage &image)
{
    for (int line = 0; line < mm::kPowerOnLines; ++line) {
        const std::string_view text = defaults::kPowerOnMessage[line];
        std::copy(text.begin(), text.end(),
                  image.begin() + mm::kPowerOnMsg + line * mm::kPowerOnLineStride);
    }
}

} // namespace nx5rb
