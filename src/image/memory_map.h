// The radio's 4 KiB programmable memory, address by address. Every address the tool touches is
// named here and nowhere else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace nx5rb::mm {

using Address = std::uint16_t;

inline constexpr std::size_t kImageSize = 0x1000;
inline constexpr std::uint8_t kErased = 0xFF;
inline constexpr Address kBlockSize = 16;

// Band indexes used everywhere in the views: 0 = A, 1 = B, 2 = C.
inline constexpr int kBandCount = 3;

// Channel table: 128 records of 16 bytes, channel n (1..128) at n * 16.
inline constexpr int kChannelCount = 128;
inline constexpr Address kChannelRecordSize = 16;
inline constexpr Address kChannelTableStart = 0x010;
inline constexpr Address kChannelTableEnd = 0x810;
constexpr Address ChannelRecord(int channel)
{
    return Address(channel * kChannelRecordSize);
}

// Offsets inside a channel record (and inside a band-start record, which shares the layout).
inline constexpr Address kChRxFreq = 0;
inline constexpr Address kChTxFreq = 4;
inline constexpr Address kChRxTone = 8;
inline constexpr Address kChTxTone = 10;
inline constexpr Address kChFlags = 12;
inline constexpr Address kChReserved = 13;
inline constexpr Address kFreqFieldSize = 4; // packed BCD, 10 Hz steps
inline constexpr Address kToneFieldSize = 2; // low byte first

// Bits of a channel's flag byte; every edit of one keeps the others.
inline constexpr std::uint8_t kFlagNarrow = 0x20; // clear: wide band
inline constexpr std::uint8_t kFlagLowPower = 0x10; // clear: high power
inline constexpr std::uint8_t kFlagScan = 0x04; // in the scan list

// Band-start records, computed from the working bands whenever the views are applied.
inline constexpr Address kBandStartRecord0 = 0x810;
inline constexpr Address kBandStartRecord1 = 0x820;
inline constexpr Address kBandStartEnd = 0x830;

// Frequency-area block: the band information the radio sends at the start of every read.
inline constexpr Address kFreqAreaBlock = 0xCF0;
inline constexpr Address kFreqAreaBlockEnd = 0xD20;
inline constexpr Address kFreqAreaBlockSize = kFreqAreaBlockEnd - kFreqAreaBlock;
inline constexpr std::array<Address, kBandCount> kFreqAreaRecord = {0xD00, 0xD10, 0xCF0};
inline constexpr Address kFreqAreaRecordSize = 10;
inline constexpr int kFreqAreaFields = 5; // 2-byte words: rx low, rx high, tx low, tx high, tune
inline constexpr Address kFreqAreaTuneFreq = 8; // offset of the tuning frequency in a record
inline constexpr Address kWorkBandsCode = 0xD0A;
inline constexpr Address kWorkChannel = 0xD0B; // three bytes, one per band

// Tune blocks (sensitivity, low power, high power, squelch), 64 bytes per band.
inline constexpr std::array<Address, kBandCount> kTuneBlock = {0xF00, 0xF40, 0xEC0};
inline constexpr Address kTuneBlockSize = 64;
inline constexpr Address kTuneSensitivity = 0;
inline constexpr Address kTuneLowPower = 16;
inline constexpr Address kTuneHighPower = 32;
inline constexpr Address kTuneSquelch = 48; // high/low threshold pairs, 8 detection columns
inline constexpr int kTunePoints = 16; // one byte each in the first three rows
inline constexpr int kSquelchColumns = 8;

// Settings (modulation) blocks, 16 bytes per band; band B's carries the shared maximum offset.
inline constexpr std::array<Address, kBandCount> kSettingsBlock = {0xF80, 0xF90, 0xFA0};
inline constexpr Address kSettingsBlockSize = 16;
// Offsets of the six modulation settings in a settings block: settings 1, 2, 3, the total
// deviation (two bytes, high byte first), the tone and the code deviation.
inline constexpr std::array<Address, 6> kSettingsField = {0, 1, 2, 3, 5, 6};
inline constexpr int kTotalDeviationSetting = 3;
inline constexpr Address kMaxOffset = 0xF9E;
inline constexpr Address kSettingsMarker = 0xF9F;
inline constexpr std::uint8_t kSettingsMarkerValue = 0x58;
// A completed read repairs band B's byte +9 when it echoes band A's (both 0x89).
inline constexpr Address kBandASettingsByte9 = 0xF89;
inline constexpr Address kBandBSettingsByte9 = 0xF99;

// The whole tune region, as a read of band C or of everything moves it.
inline constexpr Address kTuneRegionStart = 0xEC0;
inline constexpr Address kTuneRegionEnd = 0xFB0;

// Power-on message: four lines of 14 characters in 16-byte rows.
inline constexpr Address kPowerOnMsg = 0xFC0;
inline constexpr Address kPowerOnMsgEnd = 0x1000;
inline constexpr Address kPowerOnLineStride = 16;
inline constexpr int kPowerOnLines = 4;
inline constexpr int kPowerOnLineLength = 14;

// Where the band A and band B transfers end (exclusive): right after the band's settings block.
inline constexpr Address kBandARangeEnd = kSettingsBlock[1];
inline constexpr Address kBandBRangeEnd = kSettingsBlock[2];

} // namespace nx5rb::mm
