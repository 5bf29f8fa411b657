// The power-on message page ("MCU版本"): four lines of 14 characters, one box per character.
#pragma once

#include "editors/document.h"
#include "image/radio_image.h"

#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace power_on_text {
inline constexpr std::string_view kFrame = "MCU版本";
inline constexpr std::array<std::string_view, mm::kPowerOnLines> kLineLabel
    = {"P0：", "P1：", "P2：", "P3："};
} // namespace power_on_text

inline constexpr int kPowerOnBoxes = mm::kPowerOnLines * mm::kPowerOnLineLength;

// What the page's 56 boxes show.
struct PowerOnBoxes
{
    std::array<std::string, kPowerOnBoxes> Boxes; // one character each
};

// Image -> working copy -> boxes; bytes outside printable ASCII become spaces.
void AnalysePowerOnMsg(Document &doc, PowerOnBoxes &boxes);
// Working copy -> the first 14 bytes of each line; the last two bytes of a line are left alone.
void EncodePowerOnMsg(Document &doc);
// The text of one line as its boxes show it.
std::string PowerOnLineText(const PowerOnBoxes &boxes, int line);

} // namespace nx5rb
