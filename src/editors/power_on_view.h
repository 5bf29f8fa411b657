// The power-on message page ("MCU版本"): four lines of 14 characters, one box per character.
#pragma once

#include "editors/document.h"
#include "editors/view_rows.h"
#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nx5rb {

namespace power_on_text {
inline constexpr std::string_view kFrame = "MCU版本";
inline constexpr std::array<std::string_view, mm::kPowerOnLines> kLineLabel
    = {"P0：", "P1：", "P2：", "P3："};
} // namespace power_on_text

inline constexpr int kPowerOnBoxes = mm::kPowerOnLines * mm::kPowerOnLineLength;

// The text of a message box: its character when printable ASCII, a space for any other byte.
std::string MessageCharText(const ViewRow &row, const RadioImage &image, int band, int index);
// A character the message holds and shows as itself: printable ASCII. Any other byte shows as a
// space, and a box does not take it.
constexpr bool MessagePrintable(std::uint8_t c)
{
    return c >= 0x20 && c <= 0x7E;
}

// The message's ids start with this.
inline constexpr std::string_view kPowerOnIdPart = "message";

namespace power_on_detail {
// Line `line` (the slot) of the message: 14 boxes of one character, box i of the line is
// CellRef {0, 14 · line + i}, committed by the message editor (PowerOnEditor) into the working
// copy PowerOnMsg. The dump prints the lines as one array.
constexpr ViewRow MessageLine(std::string_view id, int line)
{
    return {.id = id,
            .caption = power_on_text::kLineLabel[std::size_t(line)],
            .cell = {0, line * mm::kPowerOnLineLength},
            .offset = mm::Address(mm::kPowerOnMsg + line * mm::kPowerOnLineStride),
            .count = mm::kPowerOnLineLength,
            .codec = FieldCodec::MessageChar,
            .slot = line,
            .text = MessageCharText,
            .editor = {.kind = EditorKind::Text, .maxLength = 1},
            .dumpKey = "message"};
}
} // namespace power_on_detail

inline constexpr std::array<ViewRow, mm::kPowerOnLines> kPowerOnViewRows = {
    power_on_detail::MessageLine("p0", 0),
    power_on_detail::MessageLine("p1", 1),
    power_on_detail::MessageLine("p2", 2),
    power_on_detail::MessageLine("p3", 3),
};

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
