#include "editors/tune_table_view.h"

#include "editors/modulation_view.h"
#include "image/freq_codec.h"
#include "shell/window_state.h"

#include <algorithm>
#include <string>

namespace nx5rb {

TunePage::TunePage()
    : Tune(kTuneRows, kTuneCols)
    , Squelch(kSquelchRows, kSquelchCols)
{
    using namespace tune_text;
    Tune.SetText(0, 0, kFrequency);
    for (int row = 1; row < kTuneRows; ++row)
        Tune.SetText(row, 0, kTuneRowCaption[row - 1]);
    Squelch.SetText(0, 0, kSquelch);
    for (int row = 1; row < kSquelchRows; ++row)
        Squelch.SetText(row, 0, kSquelchRowCaption[row - 1]);
    for (int col = 1; col < kSquelchCols; ++col)
        Squelch.SetText(0, col, kDetection[col - 1]);
}

int TunePointStep(int band)
{
    return band == 1 ? 8 : 5;
}

void AnalyseTuneData(WindowState &state)
{
    state.Analysing = true;
    const RadioImage &image = state.Image;
    for (int band = 0; band < mm::kBandCount; ++band) {
        TunePage &page = state.TuneViews[band];
        const FreqArea &area = state.FreqAreas[band];
        // The first point is the tuning frequency as the image holds it, not the working copy.
        const mm::Address tuneFreq = mm::kFreqAreaRecord[band] + mm::kFreqAreaTuneFreq;
        const std::string first = BandLimitText(image[tuneFreq], image[tuneFreq + 1]);
        page.Tune.SetText(0, 1, first);
        int freq = LeadingNumber(first);
        for (int col = 2; col <= kTunePoints; ++col) {
            freq += TunePointStep(band);
            page.Tune.SetText(0, col, std::to_string(freq));
            if (state.RxEdgeStale[band] && freq > area.RxHigh) {
                state.RxEdgeCol[band] = std::int16_t(col);
                state.RxEdgeStale[band] = false;
            }
            if (state.TxEdgeStale[band] && freq > area.TxHigh) {
                state.TxEdgeCol[band] = std::int16_t(col);
                state.TxEdgeStale[band] = false;
            }
        }
        if (state.RxEdgeStale[band]) {
            state.RxEdgeCol[band] = kNoEdge;
            state.RxEdgeStale[band] = false;
        }
        if (state.TxEdgeStale[band]) {
            state.TxEdgeCol[band] = kNoEdge;
            state.TxEdgeStale[band] = false;
        }
        page.Tune.SetText(0, kTunePoints,
                          std::string(tune_text::kAtLeast) + page.Tune.Text(0, kTunePoints));

        const mm::Address base = mm::kTuneBlock[band];
        for (int col = 1; col <= kTunePoints; ++col) {
            page.Tune.SetText(1, col, std::to_string(image[base + mm::kTuneSensitivity + col - 1]));
            page.Tune.SetText(2, col, std::to_string(image[base + mm::kTuneLowPower + col - 1]));
            page.Tune.SetText(3, col, std::to_string(image[base + mm::kTuneHighPower + col - 1]));
        }
        for (int g = 0; g < kSquelchColumns; ++g) {
            page.Squelch.SetText(1, g + 1, std::to_string(image[base + mm::kTuneSquelch + 2 * g]));
            page.Squelch.SetText(2, g + 1,
                                 std::to_string(image[base + mm::kTuneSquelch + 2 * g + 1]));
        }
        std::copy_n(image.begin() + base, mm::kTuneBlockSize,
                    state.TuneBuffer.begin() + band * mm::kTuneBlockSize);

        DecodeModulation(state, band);
    }
    state.Analysing = false;
}

void EncodeTuneBuffer(WindowState &state)
{
    for (int band = 0; band < mm::kBandCount; ++band)
        std::copy_n(state.TuneBuffer.begin() + band * mm::kTuneBlockSize, mm::kTuneBlockSize,
                    state.Image.begin() + mm::kTuneBlock[band]);
}

bool TuneCellShaded(const WindowState &state, int band, int row, int col)
{
    if (row == 1)
        return col >= state.RxEdgeCol[band];
    if (row == 2 || row == 3)
        return col >= state.TxEdgeCol[band];
    return false;
}

} // namespace nx5rb
