#include "editors/tune_table_view.h"

#include "image/freq_codec.h"
#include "image/records.h"

#include <algorithm>
#include <string>

namespace nx5rb {

TuneCells::TuneCells()
    : Tune(kTuneRows, kTuneCols)
    , Squelch(kSquelchRows, kSquelchCols)
{
    using namespace tune_text;
    Tune.SetText(0, 0, kFrequency);
    for (const ViewRow &row : kTuneViewRows)
        Tune.SetText(row.cell.row, 0, row.caption);
    Squelch.SetText(0, 0, kSquelch);
    for (const ViewRow &row : kSquelchViewRows) {
        Squelch.SetText(row.cell.row, 0, row.caption);
        for (int i = 0; i < row.count; ++i)
            Squelch.SetText(0, row.Cell(i).col, row.valueCaptions[i]);
    }
}

std::string SensitivityText(const ViewRow &, const RadioImage &image, int band, int index)
{
    return std::to_string(TuneTableOf(image, band).Sensitivity(index));
}

std::string LowPowerText(const ViewRow &, const RadioImage &image, int band, int index)
{
    return std::to_string(TuneTableOf(image, band).LowPower(index));
}

std::string HighPowerText(const ViewRow &, const RadioImage &image, int band, int index)
{
    return std::to_string(TuneTableOf(image, band).HighPower(index));
}

std::string SquelchHighText(const ViewRow &, const RadioImage &image, int band, int index)
{
    return std::to_string(TuneTableOf(image, band).SquelchHigh(index));
}

std::string SquelchLowText(const ViewRow &, const RadioImage &image, int band, int index)
{
    return std::to_string(TuneTableOf(image, band).SquelchLow(index));
}

int TunePointStep(int band)
{
    return band == 1 ? 8 : 5;
}

void AnalyseTuneData(Document &doc, TuneCellsOfBands &tune, ModulationBoxesOfBands &modulation)
{
    const RadioImage &image = doc.Image;
    for (int band = 0; band < mm::kBandCount; ++band) {
        TuneCells &page = tune[band];
        const FreqArea &area = doc.FreqAreas[band];
        // The first point is the tuning frequency as the image holds it, not the working copy.
        const mm::Address tuneFreq = mm::kFreqAreaRecord[band] + mm::kFreqAreaTuneFreq;
        const std::string first = BandLimitText(image[tuneFreq], image[tuneFreq + 1]);
        page.Tune.SetText(0, 1, first);
        int freq = BandInfoOf(image).Area(band).Limits().TuneFreq;
        for (int col = 2; col <= kTunePoints; ++col) {
            freq += TunePointStep(band);
            page.Tune.SetText(0, col, std::to_string(freq));
            if (doc.RxEdgeStale[band] && freq > area.RxHigh) {
                doc.RxEdgeCol[band] = std::int16_t(col);
                doc.RxEdgeStale[band] = false;
            }
            if (doc.TxEdgeStale[band] && freq > area.TxHigh) {
                doc.TxEdgeCol[band] = std::int16_t(col);
                doc.TxEdgeStale[band] = false;
            }
        }
        if (doc.RxEdgeStale[band]) {
            doc.RxEdgeCol[band] = kNoEdge;
            doc.RxEdgeStale[band] = false;
        }
        if (doc.TxEdgeStale[band]) {
            doc.TxEdgeCol[band] = kNoEdge;
            doc.TxEdgeStale[band] = false;
        }
        page.Tune.SetText(0, kTunePoints,
                          std::string(tune_text::kAtLeast) + page.Tune.Text(0, kTunePoints));

        const mm::Address base = mm::kTuneBlock[band];
        for (const ViewRow &row : kTuneViewRows)
            for (int i = 0; i < row.count; ++i)
                page.Tune.SetText(row.cell.row, row.Cell(i).col, row.Text(image, band, i));
        for (const ViewRow &row : kSquelchViewRows)
            for (int i = 0; i < row.count; ++i)
                page.Squelch.SetText(row.cell.row, row.Cell(i).col, row.Text(image, band, i));
        std::copy_n(image.begin() + base, mm::kTuneBlockSize,
                    doc.TuneBuffer.begin() + band * mm::kTuneBlockSize);

        DecodeModulation(doc, modulation[band], band);
    }
}

void EncodeTuneBuffer(Document &doc)
{
    for (int band = 0; band < mm::kBandCount; ++band)
        std::copy_n(doc.TuneBuffer.begin() + band * mm::kTuneBlockSize, mm::kTuneBlockSize,
                    doc.Image.begin() + mm::kTuneBlock[band]);
}

bool TuneCellShaded(const Document &doc, int band, int row, int col)
{
    if (row == 1)
        return col >= doc.RxEdgeCol[band];
    if (row == 2 || row == 3)
        return col >= doc.TxEdgeCol[band];
    return false;
}

} // namespace nx5rb
