// Sub-tone fields: none, CTCSS in 0.1 Hz BCD, or a DCS code sent normal or inverted.
#pragma once

#include "image/radio_image.h"

#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

inline constexpr int kQtCount = 261;
inline constexpr int kQtFirstCtcss = 1;
inline constexpr int kQtFirstDcsNormal = 51;
inline constexpr int kQtFirstDcsInverted = 156;
inline constexpr std::string_view kNoTone = "无";

// The tone entries in list order: "无", 50 CTCSS tones, 105 DCS codes with "N", the same with "I".
const std::array<std::string, kQtCount> &QtList();

// Text of the 2-byte tone field at `offset` (low byte first).
std::string DataToQt(const RadioImage &image, mm::Address offset);

// Writes the field for entry `index` of the list, whose text is `text`.
void QtToData(int index, std::string_view text, RadioImage &image, mm::Address offset);

// Index of the list entry whose text equals `text`, or 0 ("无") when there is none; this is the
// item a tone cell's list selects when it opens.
int QtIndexOf(std::string_view text);

} // namespace nx5rb
