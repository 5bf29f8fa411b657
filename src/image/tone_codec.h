// Sub-tone fields: none, CTCSS in 0.1 Hz BCD, or a DCS code sent normal or inverted.
#pragma once

#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

enum class ToneKind : std::uint8_t { None, Ctcss, DcsNormal, DcsInverted };

// A sub-tone as a value: none, a CTCSS tone in 0.1 Hz (885 is 88.5 Hz), or a DCS code as its
// three octal digits read in decimal (023 is 23) with the way it is sent.
class Tone
{
public:
    constexpr Tone() = default;
    static constexpr Tone Ctcss(int tenthsOfHz) { return Tone(ToneKind::Ctcss, tenthsOfHz); }
    static constexpr Tone Dcs(int code, bool inverted)
    {
        return Tone(inverted ? ToneKind::DcsInverted : ToneKind::DcsNormal, code);
    }

    constexpr ToneKind Kind() const { return kind_; }
    // Tenths of a hertz, or the code; 0 for no tone.
    constexpr int Value() const { return value_; }

    constexpr bool operator==(const Tone &) const = default;

private:
    constexpr Tone(ToneKind kind, int value)
        : kind_(kind)
        , value_(value)
    { }

    ToneKind kind_ = ToneKind::None;
    int value_ = 0;
};

// The 2-byte field, low byte first: FF in either byte is no tone; otherwise the two top bits of
// the high byte say CTCSS (00), DCS normal (10) or inverted (11) and the other 14 bits hold four
// BCD digits (2541 for 254.1 Hz, 0754 for code 754).
// Nothing for a field that holds no tone: a nibble above 9, or the top bits 01.
std::optional<Tone> DecodeTone(std::span<const std::uint8_t, mm::kToneFieldSize> field);
// Writes the field as QtToData does for the tone's list entry; false, with the field left alone,
// for a value the field cannot hold (0..3999 of either kind).
bool EncodeTone(Tone tone, std::span<std::uint8_t, mm::kToneFieldSize> field);

inline constexpr int kQtCount = 261;
inline constexpr int kQtFirstCtcss = 1;
inline constexpr int kQtFirstDcsNormal = 51;
inline constexpr int kQtFirstDcsInverted = 156;
inline constexpr std::string_view kNoTone = "无";

// The tone entries in list order: "无", 50 CTCSS tones, 105 DCS codes with "N", the same with "I".
const std::array<std::string, kQtCount> &QtList();

// Text of the 2-byte tone field at `offset` (low byte first).
std::string DataToQt(const RadioImage &image, mm::Address offset);
// The same text of a field on its own.
std::string ToneFieldText(std::span<const std::uint8_t, mm::kToneFieldSize> field);

// Writes the field for entry `index` of the list, whose text is `text`.
void QtToData(int index, std::string_view text, RadioImage &image, mm::Address offset);

// Index of the list entry whose text equals `text`, or 0 ("无") when there is none; this is the
// item a tone cell's list selects when it opens.
int QtIndexOf(std::string_view text);

} // namespace nx5rb
