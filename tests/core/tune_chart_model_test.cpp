// The chart's model of a tune table: it follows the working copy, reads its points from the image
// and locks from the page's edge columns on.
#include "app/window_state.h"
#include "editors/tune_chart_model.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

TEST(TuneChartModel, FollowsTheWorkingCopyBeforeItIsApplied)
{
    for (int band = 0; band < mm::kBandCount; ++band) {
        SCOPED_TRACE(band);
        WindowState state;
        const TuneChartModel before = TuneChartModelOf(state, band);
        std::uint8_t *block = state.TuneBuffer.data() + band * mm::kTuneBlockSize;
        // What the page's editors store: one value of each curve and both thresholds of the last
        // detection column.
        block[mm::kTuneSensitivity + 3] = 99;
        block[mm::kTuneLowPower + 15] = 1;
        block[mm::kTuneHighPower] = 254;
        block[mm::kTuneSquelch + 14] = 120;
        block[mm::kTuneSquelch + 15] = 7;
        // An area edit that is not applied moves neither the page's points nor the chart's.
        state.FreqAreas[band].TuneFreq = 300;

        TuneChartModel expected = before;
        expected.Sensitivity[3] = 99;
        expected.LowPower[15] = 1;
        expected.HighPower[0] = 254;
        expected.SquelchHigh[7] = 120;
        expected.SquelchLow[7] = 7;
        EXPECT_EQ(TuneChartModelOf(state, band), expected);
        // The other bands' slices are untouched by this band's edit.
        EXPECT_EQ(TuneChartModelOf(state, (band + 1) % mm::kBandCount).Sensitivity[3],
                  state.Image[mm::kTuneBlock[(band + 1) % mm::kBandCount] + 3]);
    }
}

TEST(TuneChartModel, StartUpCurvesAndPoints)
{
    const WindowState state;
    const TuneChartModel b = TuneChartModelOf(state, 1);
    EXPECT_EQ(b.PointsMHz.front(), 400);
    EXPECT_EQ(b.PointsMHz.back(), 520);
    EXPECT_EQ(b.Sensitivity[4], 17);
    EXPECT_EQ(b.Sensitivity[5], 18);
    EXPECT_EQ(b.Sensitivity[6], 19);
    EXPECT_EQ(b.HighPower[10], 200);
    EXPECT_EQ(b.HighPower[11], 210);
    EXPECT_EQ(b.SquelchHigh[3], 110);
    EXPECT_EQ(b.SquelchLow[3], 103);
    const TuneChartModel a = TuneChartModelOf(state, 0);
    EXPECT_EQ(a.PointsMHz[1] - a.PointsMHz[0], 5);
    EXPECT_EQ(a.LowPower[8], 130);
    EXPECT_EQ(a.LowPower[9], 80);
}

TEST(TuneChartModel, LockedRegionStartsAtTheEdgeColumn)
{
    const struct
    {
        int band;
        int tuneFreq; // applied to the area first; 0 keeps the start-up value
        int rxHigh;
        int txHigh;
        int firstPoint;
        int rxEdge; // grid column, 17 = nothing locked
        int txEdge;
    } cases[] = {
        {0, 0, 175, 175, 134, 10, 10}, // 179 MHz is the first point above
        {1, 0, 470, 470, 400, 10, 10}, // 472 MHz
        {2, 0, 260, 260, 200, 14, 14}, // 265 MHz
        {1, 0, 520, 520, 400, 17, 17}, // the last point, 520, is not above
        {1, 0, 519, 520, 400, 16, 17}, // only the last sensitivity point
        {0, 0, 175, 150, 134, 10, 5}, // transmit ends before receive
        {0, 0, 130, 130, 134, 2, 2}, // the first point is never locked, even above the limit
        {1, 410, 470, 470, 410, 9, 9}, // a new tuning frequency moves points and edges
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "band " << c.band << " rx " << c.rxHigh << " tx "
                                        << c.txHigh << " tune " << c.tuneFreq);
        WindowState state;
        state.FreqAreas[c.band].RxHigh = std::int16_t(c.rxHigh);
        state.FreqAreas[c.band].TxHigh = std::int16_t(c.txHigh);
        if (c.tuneFreq != 0)
            state.FreqAreas[c.band].TuneFreq = std::int16_t(c.tuneFreq);
        state.Apply();

        const TuneChartModel model = TuneChartModelOf(state, c.band);
        EXPECT_EQ(model.PointsMHz.front(), c.firstPoint);
        EXPECT_EQ(model.RxEdgeCol, c.rxEdge);
        EXPECT_EQ(model.TxEdgeCol, c.txEdge);
        for (int point = 0; point < kChartPoints; ++point) {
            const int column = point + 1;
            EXPECT_EQ(SensitivityLocked(model, point), column >= c.rxEdge) << "point " << point;
            EXPECT_EQ(PowerLocked(model, point), column >= c.txEdge) << "point " << point;
        }
    }
}

TEST(TuneChartModel, ErasedTuningFrequencyCountsFromZero)
{
    WindowState state;
    const mm::Address at = mm::kFreqAreaRecord[2] + mm::kFreqAreaTuneFreq;
    state.Image[at] = mm::kErased;
    state.Image[at + 1] = mm::kErased;
    const TuneChartModel model = TuneChartModelOf(state, 2);
    EXPECT_EQ(model.PointsMHz.front(), 0);
    EXPECT_EQ(model.PointsMHz.back(), 75);
}

} // namespace
} // namespace nx5rb
