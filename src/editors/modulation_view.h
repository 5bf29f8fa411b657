// Six modulation and deviation settings per band, and the maximum offset frequency all bands
// share; they sit on the band's tune page.
#pragma once

#include "editors/document.h"
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

inline constexpr int kModulationFields = 6;
inline constexpr int kTotalDeviationField = 3;
// Upper limit of each field, and of the maximum offset.
inline constexpr std::array<int, kModulationFields> kModulationMax = {31, 127, 15, 1023, 63, 63};
inline constexpr int kMaxOffsetMax = 255;

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
