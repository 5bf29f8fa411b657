// Typed views of the records in the radio's memory. Each holds a span over the image's own bytes
// (nothing is copied) and reads its fields through the value codecs; the Const… views read, the
// others write as well. A view is as cheap to pass as a pointer and lives no longer than the
// bytes it looks at.
#pragma once

#include "image/frequency.h"
#include "image/radio_image.h"
#include "image/tone_codec.h"

#include <cassert>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

namespace nx5rb {

// The whole MHz a band-limit word reads as: the decimal digits its shown text (BandLimitText)
// starts with, 0 when it starts with none. 13 60 is 136; an erased FF FF is 0.
std::int16_t BandLimitMHz(std::uint8_t b0, std::uint8_t b1);
// The word of a band limit (NumToBCD3): 136 is 13 60; values outside 0..999 are clamped.
void EncodeBandLimit(int mhz, std::span<std::uint8_t, 2> word);

// Inside the receive (or transmit) limits of one of the bands, both limits inclusive.
bool InsideABand(Frequency frequency, const FreqAreaTable &areas, bool receive);

namespace record_detail {
template<typename Byte>
concept Writable = !std::is_const_v<Byte>;

// `count` bytes of `bytes` from `at`, the size known to the type.
template<std::size_t Count, typename Byte>
std::span<Byte, Count> Slice(std::span<Byte> bytes, std::size_t at)
{
    assert(at + Count <= bytes.size());
    return std::span<Byte, Count>(bytes.data() + at, Count);
}

// A RadioImage, const or not.
template<typename Image>
concept AnImage = std::same_as<std::remove_const_t<Image>, RadioImage>;

// The view a record type takes of an image: the Const… one over a const image.
template<template<typename> class Record, AnImage Image>
using RecordOf
    = Record<std::conditional_t<std::is_const_v<Image>, const std::uint8_t, std::uint8_t>>;

// The record at `at` of an image, as wide as the record type says.
template<template<typename> class Record, AnImage Image>
RecordOf<Record, Image> RecordAt(Image &image, std::size_t at)
{
    using View = RecordOf<Record, Image>;
    return View(Slice<View::kSize>(std::span(image.data(), image.size()), at));
}
} // namespace record_detail

// A channel (16 bytes at n·16), or a band-start record, which shares its layout.
template<typename Byte>
class BasicChannelRecord
{
public:
    static constexpr std::size_t kSize = mm::kChannelRecordSize;

    constexpr explicit BasicChannelRecord(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }
    constexpr
    operator BasicChannelRecord<const std::uint8_t>() const requires record_detail::Writable<Byte>
    {
        return BasicChannelRecord<const std::uint8_t>(bytes_);
    }

    // Nothing for a field that is not BCD (an erased one among them).
    std::optional<Frequency> RxFrequency() const { return DecodeFrequency(Freq<mm::kChRxFreq>()); }
    std::optional<Frequency> TxFrequency() const { return DecodeFrequency(Freq<mm::kChTxFreq>()); }
    // Nothing for a field that holds no tone the list offers a kind of.
    std::optional<Tone> RxTone() const { return DecodeTone(ToneField<mm::kChRxTone>()); }
    std::optional<Tone> TxTone() const { return DecodeTone(ToneField<mm::kChTxTone>()); }

    // The fields as they are stored, for the codecs that show a field's text as it is.
    std::span<const std::uint8_t, mm::kFreqFieldSize> RxFrequencyField() const
    {
        return Freq<mm::kChRxFreq>();
    }
    std::span<const std::uint8_t, mm::kFreqFieldSize> TxFrequencyField() const
    {
        return Freq<mm::kChTxFreq>();
    }
    std::span<const std::uint8_t, mm::kToneFieldSize> RxToneField() const
    {
        return ToneField<mm::kChRxTone>();
    }
    std::span<const std::uint8_t, mm::kToneFieldSize> TxToneField() const
    {
        return ToneField<mm::kChTxTone>();
    }

    std::uint8_t Flags() const { return bytes_[mm::kChFlags]; }
    // Any of the flag bits `bit` is set.
    bool Flag(std::uint8_t bit) const { return Flags() & bit; }
    bool Narrow() const { return Flag(mm::kFlagNarrow); }
    bool LowPower() const { return Flag(mm::kFlagLowPower); }
    bool InScan() const { return Flag(mm::kFlagScan); }

    // The channel is in use: its receive frequency lies inside a band's receive limits.
    bool Exists(const FreqAreaTable &areas) const { return Inside(RxFrequency(), areas, true); }
    // Its transmit side is in use: the transmit frequency lies inside a band's transmit limits.
    bool TransmitExists(const FreqAreaTable &areas) const
    {
        return Inside(TxFrequency(), areas, false);
    }

    // False, with the field left alone, for a value the field cannot hold.
    bool SetRxFrequency(Frequency f) const requires record_detail::Writable<Byte>
    {
        return EncodeFrequency(f, Freq<mm::kChRxFreq>());
    }
    bool SetTxFrequency(Frequency f) const requires record_detail::Writable<Byte>
    {
        return EncodeFrequency(f, Freq<mm::kChTxFreq>());
    }
    bool SetRxTone(Tone tone) const requires record_detail::Writable<Byte>
    {
        return EncodeTone(tone, ToneField<mm::kChRxTone>());
    }
    bool SetTxTone(Tone tone) const requires record_detail::Writable<Byte>
    {
        return EncodeTone(tone, ToneField<mm::kChTxTone>());
    }
    // Each sets or clears its own bit and keeps the others.
    void SetFlag(std::uint8_t bit, bool on) const requires record_detail::Writable<Byte>
    {
        bytes_[mm::kChFlags]
            = std::uint8_t(on ? bytes_[mm::kChFlags] | bit : bytes_[mm::kChFlags] & ~bit);
    }
    void SetNarrow(bool on) const requires record_detail::Writable<Byte>
    {
        SetFlag(mm::kFlagNarrow, on);
    }
    void SetLowPower(bool on) const requires record_detail::Writable<Byte>
    {
        SetFlag(mm::kFlagLowPower, on);
    }
    void SetInScan(bool on) const requires record_detail::Writable<Byte>
    {
        SetFlag(mm::kFlagScan, on);
    }

private:
    template<mm::Address At>
    std::span<Byte, mm::kFreqFieldSize> Freq() const
    {
        return bytes_.template subspan<At, mm::kFreqFieldSize>();
    }
    template<mm::Address At>
    std::span<Byte, mm::kToneFieldSize> ToneField() const
    {
        return bytes_.template subspan<At, mm::kToneFieldSize>();
    }
    static bool Inside(std::optional<Frequency> f, const FreqAreaTable &areas, bool receive)
    {
        return f && InsideABand(*f, areas, receive);
    }

    std::span<Byte, kSize> bytes_;
};
using ChannelRecord = BasicChannelRecord<std::uint8_t>;
using ConstChannelRecord = BasicChannelRecord<const std::uint8_t>;

// Channel 1..128.
template<record_detail::AnImage Image>
auto ChannelAt(Image &image, int channel)
{
    assert(channel >= 1 && channel <= mm::kChannelCount);
    return record_detail::RecordAt<BasicChannelRecord>(image, mm::ChannelRecord(channel));
}

// Band-start record 0 or 1.
inline mm::Address BandStartAddress(int record)
{
    return record == 0 ? mm::kBandStartRecord0 : mm::kBandStartRecord1;
}
template<record_detail::AnImage Image>
auto BandStartAt(Image &image, int record)
{
    return record_detail::RecordAt<BasicChannelRecord>(image, BandStartAddress(record));
}

// One band's limits: five BCD words of whole MHz (receive low and high, transmit low and high,
// the tuning frequency), field 0..4 in that order, as FreqArea holds them.
template<typename Byte>
class BasicFreqAreaRecord
{
public:
    static constexpr std::size_t kSize = mm::kFreqAreaRecordSize;

    constexpr explicit BasicFreqAreaRecord(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }

    std::int16_t Limit(int field) const { return BandLimitMHz(Word(field)[0], Word(field)[1]); }
    FreqArea Limits() const { return {Limit(0), Limit(1), Limit(2), Limit(3), Limit(4)}; }

    void SetLimit(int field, int mhz) const requires record_detail::Writable<Byte>
    {
        EncodeBandLimit(mhz, Word(field));
    }
    void SetLimits(const FreqArea &area) const requires record_detail::Writable<Byte>
    {
        const std::array<std::int16_t, mm::kFreqAreaFields> values
            = {area.RxLow, area.RxHigh, area.TxLow, area.TxHigh, area.TuneFreq};
        for (int field = 0; field < mm::kFreqAreaFields; ++field)
            SetLimit(field, values[field]);
    }

private:
    std::span<Byte, 2> Word(int field) const
    {
        assert(field >= 0 && field < mm::kFreqAreaFields);
        return record_detail::Slice<2>(std::span<Byte>(bytes_), std::size_t(2 * field));
    }

    std::span<Byte, kSize> bytes_;
};
using FreqAreaRecord = BasicFreqAreaRecord<std::uint8_t>;
using ConstFreqAreaRecord = BasicFreqAreaRecord<const std::uint8_t>;

// The band information (the frequency-area block): the limits of the three bands, the band
// combination and the working channel of each band.
template<typename Byte>
class BasicBandInfo
{
public:
    static constexpr std::size_t kSize = mm::kFreqAreaBlockSize;

    constexpr explicit BasicBandInfo(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }

    BasicFreqAreaRecord<Byte> Area(int band) const
    {
        return BasicFreqAreaRecord<Byte>(record_detail::Slice<mm::kFreqAreaRecordSize>(
            std::span<Byte>(bytes_), At(mm::kFreqAreaRecord[band])));
    }
    FreqAreaTable Areas() const
    {
        FreqAreaTable areas {};
        for (int band = 0; band < mm::kBandCount; ++band)
            areas[band] = Area(band).Limits();
        return areas;
    }
    // One of kBandCombinationCodes, or any other byte the image holds.
    std::uint8_t BandsCode() const { return bytes_[At(mm::kWorkBandsCode)]; }
    std::uint8_t WorkChannel(int band) const { return bytes_[At(mm::kWorkChannel) + band]; }
    bool Uhf(int band) const { return WorkChannel(band) == kChannelUhf; }

    void SetBandsCode(std::uint8_t code) const requires record_detail::Writable<Byte>
    {
        bytes_[At(mm::kWorkBandsCode)] = code;
    }
    void SetWorkChannel(int band, std::uint8_t channel) const requires record_detail::Writable<Byte>
    {
        bytes_[At(mm::kWorkChannel) + band] = channel;
    }

private:
    static constexpr std::size_t At(mm::Address address) { return address - mm::kFreqAreaBlock; }

    std::span<Byte, kSize> bytes_;
};
using BandInfo = BasicBandInfo<std::uint8_t>;
using ConstBandInfo = BasicBandInfo<const std::uint8_t>;

template<record_detail::AnImage Image>
auto BandInfoOf(Image &image)
{
    return record_detail::RecordAt<BasicBandInfo>(image, mm::kFreqAreaBlock);
}

// A band's tune table (64 bytes): sensitivity, low power and high power at 16 points, then the
// high and low squelch thresholds of 8 detection columns, in pairs. Over the image or over the
// working copy of the tune blocks alike.
template<typename Byte>
class BasicTuneTable
{
public:
    static constexpr std::size_t kSize = mm::kTuneBlockSize;

    constexpr explicit BasicTuneTable(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }

    std::uint8_t Sensitivity(int point) const { return bytes_[Point(mm::kTuneSensitivity, point)]; }
    std::uint8_t LowPower(int point) const { return bytes_[Point(mm::kTuneLowPower, point)]; }
    std::uint8_t HighPower(int point) const { return bytes_[Point(mm::kTuneHighPower, point)]; }
    std::uint8_t SquelchHigh(int column) const { return bytes_[Squelch(column)]; }
    std::uint8_t SquelchLow(int column) const { return bytes_[Squelch(column) + 1]; }

    void SetSensitivity(int point, std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[Point(mm::kTuneSensitivity, point)] = value;
    }
    void SetLowPower(int point, std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[Point(mm::kTuneLowPower, point)] = value;
    }
    void SetHighPower(int point, std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[Point(mm::kTuneHighPower, point)] = value;
    }
    void SetSquelchHigh(int column, std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[Squelch(column)] = value;
    }
    void SetSquelchLow(int column, std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[Squelch(column) + 1] = value;
    }

private:
    static std::size_t Point(mm::Address row, int point)
    {
        assert(point >= 0 && point < mm::kTunePoints);
        return row + std::size_t(point);
    }
    static std::size_t Squelch(int column)
    {
        assert(column >= 0 && column < mm::kSquelchColumns);
        return mm::kTuneSquelch + 2 * std::size_t(column);
    }

    std::span<Byte, kSize> bytes_;
};
using TuneTable = BasicTuneTable<std::uint8_t>;
using ConstTuneTable = BasicTuneTable<const std::uint8_t>;

template<record_detail::AnImage Image>
auto TuneTableOf(Image &image, int band)
{
    return record_detail::RecordAt<BasicTuneTable>(image, mm::kTuneBlock[band]);
}

// The three bands' settings blocks: six modulation settings per band, and the maximum offset
// all bands share (kept in band B's block).
template<typename Byte>
class BasicModulation
{
public:
    static constexpr std::size_t kSize = mm::kBandCount * mm::kSettingsBlockSize;
    static constexpr int kSettings = int(mm::kSettingsField.size());

    constexpr explicit BasicModulation(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }

    // Setting 0..5 of a band: one byte, but the total deviation two, high byte first.
    int Setting(int band, int setting) const
    {
        const std::size_t at = At(band, setting);
        if (setting == mm::kTotalDeviationSetting)
            return bytes_[at] << 8 | bytes_[at + 1];
        return bytes_[at];
    }
    // In 0.1 kHz.
    std::uint8_t MaxOffset() const { return bytes_[mm::kMaxOffset - mm::kSettingsBlock[0]]; }

    // The value is cut to the field's bytes.
    void SetSetting(int band, int setting, int value) const requires record_detail::Writable<Byte>
    {
        const std::size_t at = At(band, setting);
        if (setting == mm::kTotalDeviationSetting) {
            bytes_[at] = std::uint8_t(value >> 8);
            bytes_[at + 1] = std::uint8_t(value);
        } else {
            bytes_[at] = std::uint8_t(value);
        }
    }
    void SetMaxOffset(std::uint8_t value) const requires record_detail::Writable<Byte>
    {
        bytes_[mm::kMaxOffset - mm::kSettingsBlock[0]] = value;
    }

private:
    static std::size_t At(int band, int setting)
    {
        assert(band >= 0 && band < mm::kBandCount && setting >= 0 && setting < kSettings);
        return mm::kSettingsBlock[band] - mm::kSettingsBlock[0] + mm::kSettingsField[setting];
    }

    std::span<Byte, kSize> bytes_;
};
using Modulation = BasicModulation<std::uint8_t>;
using ConstModulation = BasicModulation<const std::uint8_t>;

template<record_detail::AnImage Image>
auto ModulationOf(Image &image)
{
    return record_detail::RecordAt<BasicModulation>(image, mm::kSettingsBlock[0]);
}

// The power-on message: four lines of 14 characters, one line to a 16-byte row.
template<typename Byte>
class BasicPowerOnMessage
{
public:
    static constexpr std::size_t kSize = mm::kPowerOnMsgEnd - mm::kPowerOnMsg;

    constexpr explicit BasicPowerOnMessage(std::span<Byte, kSize> bytes)
        : bytes_(bytes)
    { }

    std::uint8_t Char(int line, int column) const { return bytes_[At(line, column)]; }
    // The line's 14 bytes as they are, unprintable ones too.
    std::string Line(int line) const
    {
        const std::size_t at = At(line, 0);
        return std::string(bytes_.begin() + at, bytes_.begin() + at + mm::kPowerOnLineLength);
    }

    void SetChar(int line, int column, std::uint8_t c) const requires record_detail::Writable<Byte>
    {
        bytes_[At(line, column)] = c;
    }

private:
    static std::size_t At(int line, int column)
    {
        assert(line >= 0 && line < mm::kPowerOnLines && column >= 0
               && column < mm::kPowerOnLineLength);
        return std::size_t(line) * mm::kPowerOnLineStride + std::size_t(column);
    }

    std::span<Byte, kSize> bytes_;
};
using PowerOnMessage = BasicPowerOnMessage<std::uint8_t>;
using ConstPowerOnMessage = BasicPowerOnMessage<const std::uint8_t>;

template<record_detail::AnImage Image>
auto PowerOnMessageOf(Image &image)
{
    return record_detail::RecordAt<BasicPowerOnMessage>(image, mm::kPowerOnMsg);
}

} // namespace nx5rb
