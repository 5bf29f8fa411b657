// The memory of a radio as it leaves the factory.
#pragma once

#include "image/radio_image.h"

#include <array>
#include <string_view>

namespace nx5rb {

// Its power-on message: four lines of exactly 14 printable characters, none of them the tool's
// own start-up text, so that reading the message visibly changes the page.
inline constexpr std::array<std::string_view, mm::kPowerOnLines> kFactoryPowerOnMessage
    = {"  EXAMPLE  VR7", "VER 1.03016/09", "example.net/vr", "TEL 400-555012"};

// Band limits, band combination and working channels as the tool's own defaults; calibration
// tables that vary across the sixteen points, per-band settings, a handful of memory channels on
// all three bands, the band-start records, the power-on message; erased everywhere else.
RadioImage FactoryMemory();

} // namespace nx5rb
