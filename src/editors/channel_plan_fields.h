// The fields of a channel record as a channel plan reads and writes them: decimal texts read
// exactly, frequencies and tones through the image codecs, the columns of the common layout.
// Internal to the channel plan.
#pragma once

#include "editors/channel_plan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nx5rb::plan {

inline constexpr int kMHzDecimals = 6; // MHz texts are read to the hertz: 146.520000
inline constexpr int kStoredDecimals = 5; // the image holds MHz to 10 Hz
inline constexpr std::int64_t kHzPerMHz = 1000000;
inline constexpr std::int64_t kHzPerStep = 10;

namespace common {
inline constexpr std::string_view kLocation = "Location";
inline constexpr std::string_view kFrequency = "Frequency";
inline constexpr std::string_view kDuplex = "Duplex";
inline constexpr std::string_view kOffset = "Offset";
inline constexpr std::string_view kTone = "Tone";
inline constexpr std::string_view kRTone = "rToneFreq";
inline constexpr std::string_view kCTone = "cToneFreq";
inline constexpr std::string_view kDtcs = "DtcsCode";
inline constexpr std::string_view kPolarity = "DtcsPolarity";
inline constexpr std::string_view kRxDtcs = "RxDtcsCode";
inline constexpr std::string_view kCrossMode = "CrossMode";
inline constexpr std::string_view kStep = "TStep";
// The layout's current header; Mode, Skip and Power carry the flag columns as the channel column
// table maps them. Files with its older header (no RxDtcsCode, CrossMode or Power) still import:
// every column but Location and Frequency may be missing.
inline constexpr std::array<std::string_view, 21> kHeader
    = {"Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
       "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
       "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};
inline constexpr std::string_view kDefaultTone = "88.5";
inline constexpr std::string_view kDefaultDtcs = "023";
inline constexpr std::string_view kDefaultPolarity = "NN";
inline constexpr std::string_view kDefaultCrossMode = "Tone->Tone";
inline constexpr std::string_view kDefaultStep = "5.00";
inline constexpr std::array<std::string_view, 7> kCrossModes
    = {"Tone->Tone", "Tone->DTCS", "DTCS->Tone", "DTCS->", "->Tone", "->DTCS", "DTCS->DTCS"};
} // namespace common

bool AllDigits(std::string_view text);
// A decimal text in units of 10^-scale: "145.0125" at scale 6 is 145012500. Digits and one point
// only, at most 12 whole digits; decimals past the scale must be zeros.
std::optional<std::int64_t> ParseFixed(std::string_view text, int scale);
// The text of a value in units of 10^-scale, with all its decimals or trimmed.
std::string FixedText(std::int64_t value, int scale, bool trim);
// Without surrounding spaces and tabs.
std::string_view Trimmed(std::string_view text);
// Equal but for the case of ASCII letters.
bool SameLetters(std::string_view a, std::string_view b);

// Frequency fields (10 Hz) and tone fields as the codecs write and show them.
void StoreFreq(RadioImage &image, mm::Address at, std::int32_t freq10Hz);
std::string FreqText(std::int32_t freq10Hz); // as DataToFreq shows the field
std::int32_t FreqOf(const RadioImage &image, mm::Address at); // of a field JudgeFreqVaid accepted
ToneCode ToneAt(const RadioImage &image, mm::Address at);
void StoreTone(RadioImage &image, mm::Address at, ToneCode tone);
std::string ToneText(ToneCode tone); // as DataToQt shows the field
ToneCode ToneOf(int index); // the field QtToData writes for a list entry
std::optional<int> ListedIndex(std::string_view text); // the entry of the tone list

void Erase(RadioImage &image, mm::Address from, mm::Address count);
std::uint8_t WithBit(std::uint8_t flags, std::uint8_t bit, bool set);

} // namespace nx5rb::plan
