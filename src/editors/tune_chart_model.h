// One band's tune table as the curves a technician reads: the sixteen frequency points, the three
// calibration curves, where the locked region begins, and the squelch thresholds.
#pragma once

#include "editors/document.h"
#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <span>

namespace nx5rb {

inline constexpr int kChartPoints = 16;
inline constexpr int kChartDetectionColumns = 8;
// Grid column of the first frequency point; an edge at kChartNoEdge locks nothing.
inline constexpr int kChartFirstColumn = 1;
inline constexpr int kChartNoEdge = kChartFirstColumn + kChartPoints;

struct TuneChartModel
{
    int Band = 0; // 0 = A, 1 = B, 2 = C
    int StepMHz = 0; // distance between two points
    std::array<int, kChartPoints> PointsMHz {};
    std::array<std::uint8_t, kChartPoints> Sensitivity {};
    std::array<std::uint8_t, kChartPoints> LowPower {};
    std::array<std::uint8_t, kChartPoints> HighPower {};
    // Grid columns 2..17 as the page keeps them: sensitivity points at columns >= RxEdgeCol and
    // power points at columns >= TxEdgeCol are locked; 17 locks none.
    int RxEdgeCol = kChartNoEdge;
    int TxEdgeCol = kChartNoEdge;
    std::array<std::uint8_t, kChartDetectionColumns> SquelchHigh {};
    std::array<std::uint8_t, kChartDetectionColumns> SquelchLow {};

    bool operator==(const TuneChartModel &) const = default;
};

// The chart of `band` (0..2). The first point is the tuning frequency as the image holds it (the
// page's reading: band-limit text, then its leading digits), so an unapplied edit of the area does
// not move the points, just as it does not move the page's. The values come from the band's
// 64-byte slice of the working copy, so unapplied tune edits show at once. Edges are clamped to
// 2..17: the first point is never locked.
TuneChartModel BuildTuneChartModel(const RadioImage &image, int band,
                                   std::span<const std::uint8_t, mm::kTuneBlockSize> tuneBlock,
                                   int rxEdgeCol, int txEdgeCol);

// The chart of `band` as the document holds it now: its image, the band's slice of the working
// copy and the band's edge columns.
TuneChartModel TuneChartModelOf(const Document &document, int band);

// The band's slice of the working copy.
std::span<const std::uint8_t, mm::kTuneBlockSize> TuneBlockOf(const TuneBufferBytes &buffer,
                                                              int band);

// Whether the point at index 0..15 lies in the locked region of sensitivity (receive) or of power
// (transmit).
bool SensitivityLocked(const TuneChartModel &model, int point);
bool PowerLocked(const TuneChartModel &model, int point);

} // namespace nx5rb
