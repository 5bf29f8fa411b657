// A radio frequency as the image holds it: a whole number of 10 Hz steps, and the 4-byte
// packed-BCD field that stores one.
#pragma once

#include "image/memory_map.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <span>

namespace nx5rb {

class Frequency
{
public:
    static constexpr std::int32_t kTensOfHzPerKHz = 100;
    static constexpr std::int32_t kTensOfHzPerMHz = 100000;

    constexpr Frequency() = default;

    static constexpr Frequency FromTensOfHz(std::int32_t tensOfHz) { return Frequency(tensOfHz); }
    // FromMHz(145, 12, 50) is 145.0125 MHz: whole MHz, then kHz, then 10 Hz steps.
    static constexpr Frequency FromMHz(std::int32_t mhz, std::int32_t khz = 0,
                                       std::int32_t tensOfHz = 0)
    {
        return Frequency(mhz * kTensOfHzPerMHz + khz * kTensOfHzPerKHz + tensOfHz);
    }
    static constexpr Frequency FromKHz(std::int32_t khz, std::int32_t tensOfHz = 0)
    {
        return Frequency(khz * kTensOfHzPerKHz + tensOfHz);
    }

    constexpr std::int32_t TensOfHz() const { return tensOfHz_; }
    // Whole MHz, the rest dropped.
    constexpr std::int32_t WholeMHz() const { return tensOfHz_ / kTensOfHzPerMHz; }

    // Inside [lowMHz, highMHz], both limits inclusive (the limits of a band are whole MHz).
    constexpr bool WithinMHz(std::int64_t lowMHz, std::int64_t highMHz) const
    {
        return lowMHz * kTensOfHzPerMHz <= tensOfHz_ && tensOfHz_ <= highMHz * kTensOfHzPerMHz;
    }

    constexpr auto operator<=>(const Frequency &) const = default;

private:
    constexpr explicit Frequency(std::int32_t tensOfHz)
        : tensOfHz_(tensOfHz)
    { }

    std::int32_t tensOfHz_ = 0;
};

// The field (mm::kFreqFieldSize bytes) holds eight decimal digits of the count of 10 Hz steps,
// two to a byte, the most significant first: 145.0125 MHz is 14 50 12 50.
inline constexpr Frequency kLargestFieldFrequency = Frequency::FromTensOfHz(99'999'999);

// Nothing when a nibble is above 9 (an erased field, FF FF FF FF, among them).
constexpr std::optional<Frequency>
DecodeFrequency(std::span<const std::uint8_t, mm::kFreqFieldSize> field)
{
    std::int32_t value = 0;
    for (std::uint8_t byte : field) {
        const int high = byte >> 4;
        const int low = byte & 0x0F;
        if (high > 9 || low > 9)
            return std::nullopt;
        value = value * 100 + high * 10 + low;
    }
    return Frequency::FromTensOfHz(value);
}

// Writes the field; a frequency below zero or above the largest the field holds is not written
// and gives false.
constexpr bool EncodeFrequency(Frequency frequency,
                               std::span<std::uint8_t, mm::kFreqFieldSize> field)
{
    std::int32_t value = frequency.TensOfHz();
    if (value < 0 || frequency > kLargestFieldFrequency)
        return false;
    for (std::size_t i = mm::kFreqFieldSize; i-- > 0; value /= 100)
        field[i] = std::uint8_t((value % 100 / 10) << 4 | value % 10);
    return true;
}

} // namespace nx5rb
