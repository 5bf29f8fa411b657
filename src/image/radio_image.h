// The one copy of the radio's memory and the two small buffers that live beside it.
#pragma once

#include "image/memory_map.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace nx5rb {

// Index = radio address 0x000..0xFFF; 0xFF is the erased value.
using RadioImage = std::array<std::uint8_t, mm::kImageSize>;

// The working copy of the three tune blocks: band A at 0..63, B at 64..127,
// C at 128..191.
using TuneBufferBytes = std::array<std::uint8_t, mm::kBandCount * mm::kTuneBlockSize>;

// Limits of one band in whole MHz.
struct FreqArea
{
    std::int16_t RxLow = 0;
    std::int16_t RxHigh = 0;
    std::int16_t TxLow = 0;
    std::int16_t TxHigh = 0;
    std::int16_t TuneFreq = 0;

    bool operator==(const FreqArea &) const = default;
};
using FreqAreaTable = std::array<FreqArea, mm::kBandCount>;

// Band combination codes (image byte of the working bands), in the order the list offers them:
// A, B, C, A + B, A + C, B + C, all three. Any code not listed reads as all three.
inline constexpr std::uint8_t kBandsA = 0x48;
inline constexpr std::uint8_t kBandsB = 0x37;
inline constexpr std::uint8_t kBandsC = 0x59;
inline constexpr std::uint8_t kBandsAB = 0x6A;
inline constexpr std::uint8_t kBandsAC = 0x7B;
inline constexpr std::uint8_t kBandsBC = 0x8C;
inline constexpr std::uint8_t kBandsABC = 0xFF;
inline constexpr std::array<std::uint8_t, 7> kBandCombinationCodes
    = {kBandsA, kBandsB, kBandsC, kBandsAB, kBandsAC, kBandsBC, kBandsABC};

// Working channel byte of a band: UHF, anything else is VHF (written as 0xFF).
inline constexpr std::uint8_t kChannelUhf = 0x37;
inline constexpr std::uint8_t kChannelVhf = 0xFF;

// The factory contents the tool starts with, before anything is read or opened.
namespace defaults {
// Band limits in MHz, per band: receive low/high, transmit low/high, tuning frequency.
inline constexpr std::array<std::array<int, 5>, mm::kBandCount> kFreqAreas = {{
    {136, 175, 136, 175, 134},
    {400, 470, 400, 470, 400},
    {200, 260, 200, 260, 200},
}};
inline constexpr std::uint8_t kWorkBandsCode = kBandsABC;
inline constexpr std::array<std::uint8_t, mm::kBandCount> kWorkChannel
    = {kChannelVhf, kChannelUhf, kChannelVhf};
// Each line exactly 14 printable characters.
inline constexpr std::array<std::string_view, mm::kPowerOnLines> kPowerOnMessage
    = {"  EXAMPLE  TR3", "VER 1.02014/05", "www.example.cn", "TEL 400-000000"};
} // namespace defaults

// Sets every byte to the erased value.
void EraseImage(RadioImage &image);

// Bytes of the frequency-area block as the defaults encode them (limits, band combination,
// working channels).
void WriteFreqAreaDefaults(RadioImage &image);
// Tune blocks and settings blocks of the three bands.
void WriteTuneDefaults(RadioImage &image);
// The four power-on message lines.
void WritePowerOnDefaults(RadioImage &image);

// Band-start record 0 or 1: the receive lower limit of the working band that the band
// combination assigns to the record, plus 25 kHz, as receive and transmit frequency; wide band,
// high power, in the scan list. The other bytes of the record keep their values.
void WriteBandStartRecord(RadioImage &image, int record, const FreqAreaTable &areas,
                          std::uint8_t workBandsCode);

} // namespace nx5rb
