// Packed-BCD encodings of frequencies and small numbers, and the channel raster.
#pragma once

#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

// True when every character is a decimal digit (the empty text too).
bool JudgeDataIsBCD(std::string_view text);

// The 4-byte frequency field at `offset` is BCD and lies inside the receive (or transmit)
// limits of one of the bands, both limits inclusive.
bool JudgeFreqVaid(const RadioImage &image, const FreqAreaTable &areas, mm::Address offset,
                   bool receive);

// Text of the frequency field at `offset` in MHz, filled with zeros to nine characters.
std::string DataToFreq(const RadioImage &image, mm::Address offset);
// The same text of a field on its own.
std::string FreqFieldText(std::span<const std::uint8_t, mm::kFreqFieldSize> field);

// Encodes a frequency text in MHz into the field at `offset` and returns the text filled to nine
// characters. Texts with three digits before the point keep the radio's fixed digit positions;
// any other plain decimal below 1000 MHz is encoded by its value. Text that is not a decimal
// number, or 1000 MHz and above, cannot be encoded: the field is left alone and nothing is
// returned.
std::optional<std::string> FreqToData(std::string_view text, RadioImage &image, mm::Address offset);

// Three-digit BCD word of a whole number: 136 -> 0x1360. Defined for 0..999 (the widest number
// a band-limit cell can show); values outside are clamped into that range first.
std::uint16_t NumToBCD3(int n);

// Packed BCD byte of 0..99: 45 -> 0x45. 100..255 give non-BCD values (123 -> 0xC3), 256 and
// above give 0.
std::int16_t NumToBCD2(std::int16_t n);

// Moves a frequency in kHz to the nearer of the 5 kHz and 6.25 kHz rasters (6.25 wins a tie).
double FreqToStep(double kHz);
// The same for a text; nothing when the text is not a decimal number.
std::optional<double> FreqToStep(std::string_view kHzText);

// Locale-independent reading and writing of decimal numbers ("." is the point).
std::optional<double> ParseDecimal(std::string_view text);
// At most 15 significant digits, no exponent, no trailing zeros or trailing point.
std::string FormatDecimal(double value);
// Round to the nearest integer, halves to even.
double RoundHalfEven(double value);

// The text a band-limit value shows: the hex of its first byte, then the first hex digit of the
// second (13 60 -> "136"; an erased FF FF -> "FFF").
std::string BandLimitText(std::uint8_t b0, std::uint8_t b1);

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::string HexText(std::uint8_t value);
// The number formed by the leading decimal digits of a text, 0 when there are none.
int LeadingNumber(std::string_view text);

} // namespace nx5rb
