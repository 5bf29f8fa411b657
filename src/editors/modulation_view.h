// Six modulation and deviation settings per band, and the maximum offset frequency all bands
// share; they sit on the band's tune page.
#pragma once

#include "editors/document.h"
#include "editors/view_rows.h"
#include "image/radio_image.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace nx5rb {

namespace modulation_text {
inline constexpr std::array<std::string_view, 6> kLabel
    = {"调制频响设定值1:               (0-31)", "调制频响设定值2:              (0-127)",
       "调制频响设定值3:               (0-15)", "总频偏:              (0-1023)",
       "亚音频偏:               (0-63)",        "数字亚音频偏:               (0-63)"};
inline constexpr std::string_view kMaxOffsetLabel = "最大偏移频率(0.1KHz):";
inline constexpr std::string_view kMaxOffsetNote = "注:最大偏移频率与频段-A一致";
} // namespace modulation_text

inline constexpr int kModulationFields = int(mm::kSettingsField.size());
inline constexpr int kTotalDeviationField = mm::kTotalDeviationSetting;

// The texts of the rows below: a band's setting, the shared maximum offset.
std::string ModulationSettingText(const ViewRow &row, const RadioImage &image, int band, int index);
std::string MaxOffsetText(const ViewRow &row, const RadioImage &image, int band, int index);

// The modulation boxes' ids start with this.
inline constexpr std::string_view kModulationIdPart = "modulation";

namespace modulation_detail {
// A setting's box: digits only, held to `max`; `length` limits the box below the key kind's four.
constexpr RowEditor SettingBox(int length, int max)
{
    return {EditorKind::Text, KeyKind::Number4, length, EveryBand(0), EveryBand(max), {}};
}
} // namespace modulation_detail

// Box k of a band's row of boxes: the six settings (slot k of the band's settings block),
// committed by the modulation editor into the working copy ModulationRecords, and the maximum
// offset all bands share, committed into MaxOffset. An emptied box stores 0.
inline constexpr std::array<ViewRow, kModulationFields + 1> kModulationViewRows = {{
    {.id = "response1",
     .caption = modulation_text::kLabel[0],
     .cell = {0, 0},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[0],
     .slot = 0,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(2, 31),
     .dumpKey = "response1"},
    {.id = "response2",
     .caption = modulation_text::kLabel[1],
     .cell = {0, 1},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[1],
     .slot = 1,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(3, 127),
     .dumpKey = "response2"},
    {.id = "response3",
     .caption = modulation_text::kLabel[2],
     .cell = {0, 2},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[2],
     .slot = 2,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(2, 15),
     .dumpKey = "response3"},
    // High byte first; a value with its top bit set is no value the radio uses and shows nothing.
    {.id = "total_deviation",
     .caption = modulation_text::kLabel[kTotalDeviationField],
     .cell = {0, kTotalDeviationField},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[kTotalDeviationField],
     .size = 2,
     .codec = FieldCodec::Word16,
     .slot = kTotalDeviationField,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(0, 1023),
     .dumpKey = "total_deviation"},
    {.id = "tone_deviation",
     .caption = modulation_text::kLabel[4],
     .cell = {0, 4},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[4],
     .slot = 4,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(0, 63),
     .dumpKey = "tone_deviation"},
    {.id = "dcs_deviation",
     .caption = modulation_text::kLabel[5],
     .cell = {0, 5},
     .bandBase = &mm::kSettingsBlock,
     .offset = mm::kSettingsField[5],
     .slot = 5,
     .text = ModulationSettingText,
     .editor = modulation_detail::SettingBox(0, 63),
     .dumpKey = "code_deviation"},
    // In 0.1 kHz, kept in band B's block; band A's page has no box for it.
    {.id = "max_offset",
     .caption = modulation_text::kMaxOffsetLabel,
     .cell = {0, kModulationFields},
     .offset = mm::kMaxOffset,
     .text = MaxOffsetText,
     .editor = {EditorKind::Text, KeyKind::Number3, 0, EveryBand(0), EveryBand(255), {}},
     .dumpKey = "max_offset"},
}};
inline constexpr const ViewRow &kMaxOffsetRow = kModulationViewRows[kModulationFields];

// What a band's modulation boxes show.
struct ModulationBoxes
{
    std::array<std::string, kModulationFields> Response; // box texts
    std::string MaxOffset;
};
using ModulationBoxesOfBands = std::array<ModulationBoxes, mm::kBandCount>;

// One band's record -> its working copy and boxes; the maximum offset too. Part of the tune decode.
void DecodeModulation(Document &doc, ModulationBoxes &boxes, int band);
// Record copies -> 0xF80..0xFAF, then the maximum offset copy over band B's byte +14.
void EncodeModulation(Document &doc);
// Bands A and B: a first byte above 31 rewrites bytes +0, +1 as 1000 (0x03E8), and independently
// a third byte above 31 rewrites bytes +2, +3.
void RepairModulation(RadioImage &image, int band);

// The number a box shows, or nothing for an empty box.
std::optional<int> BoxNumber(std::string_view text);

} // namespace nx5rb
