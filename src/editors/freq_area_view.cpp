#include "editors/freq_area_view.h"

#include "image/freq_codec.h"
#include "image/records.h"

#include <charconv>
#include <optional>

namespace nx5rb {

namespace {

std::int16_t *AreaField(FreqArea &area, int field)
{
    std::int16_t *fields[] = {&area.RxLow, &area.RxHigh, &area.TxLow, &area.TxHigh, &area.TuneFreq};
    return fields[field];
}

// Record word shown in (row, col), or -1 for a cell without a stored value.
int FieldAt(int row, int col)
{
    const RowValue shown = RowAt(kFreqAreaViewRows, {row, col});
    return shown.row ? shown.row->slot : -1;
}

// The number a box text stands for, if it reads as a 16-bit integer.
std::optional<std::int16_t> ToInt16(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::int16_t value = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// The default records a damaged band A or B is replaced with: ten record bytes and the two after.
constexpr std::array<std::array<std::uint8_t, 12>, 2> kRepairRecord = {{
    {0x13, 0x60, 0x17, 0x50, 0x13, 0x60, 0x17, 0x50, 0x13, 0x40, 0x52, 0x00},
    {0x23, 0x50, 0x25, 0x60, 0x23, 0x50, 0x25, 0x60, 0x20, 0x00, 0x52, 0x00},
}};

} // namespace

FreqAreaCells::FreqAreaCells()
{
    using namespace freq_area_text;
    for (int band = 0; band < mm::kBandCount; ++band) {
        TextGrid grid(kFreqAreaRows, kFreqAreaCols);
        grid.SetText(0, 0, kGridTitle[band]);
        grid.SetText(0, 1, kLow);
        grid.SetText(0, 2, kHigh);
        for (int row = 1; row < kFreqAreaRows; ++row)
            grid.SetText(row, 0, kRowCaption[row - 1]);
        grid.SetText(3, 2, kNotEditable);
        grid.SetText(4, 2, kNotEditable);
        Grids[band] = grid;
    }
}

int BandCombinationItem(std::uint8_t code)
{
    for (int item = 0; item < int(kBandCombinationCodes.size()); ++item)
        if (kBandCombinationCodes[item] == code)
            return item;
    return int(kBandCombinationCodes.size()) - 1;
}

std::string FreqAreaLimitText(const ViewRow &row, const RadioImage &image, int band, int index)
{
    const mm::Address at = row.Address(band, index);
    return BandLimitText(image[at], image[at + 1]);
}

std::string BandCombinationText(const ViewRow &row, const RadioImage &image, int, int)
{
    return std::string(row.editor.items[BandCombinationItem(BandInfoOf(image).BandsCode())]);
}

std::string WorkChannelText(const ViewRow &row, const RadioImage &image, int, int index)
{
    return std::string(row.editor.items[BandInfoOf(image).Uhf(index) ? 1 : 0]);
}

void AnalyseFreqArea(Document &doc, FreqAreaCells &cells)
{
    const RadioImage &image = doc.Image;
    const ConstBandInfo info = BandInfoOf(image);
    for (int band = 0; band < mm::kBandCount; ++band) {
        TextGrid &grid = cells.Grids[band];
        for (const ViewRow &row : kFreqAreaViewRows)
            if (row.editor.kind == EditorKind::Text)
                grid.SetText(row.cell.row, row.cell.col, row.Text(image, band, 0));
        // The working copy is what the cells read as.
        doc.FreqAreas[band] = info.Area(band).Limits();
    }
    // A code outside the list shows as all three bands but is kept until the user picks an item.
    cells.BandCombinationItem = BandCombinationItem(info.BandsCode());
    doc.WorkBandsCode = info.BandsCode();
    for (int band = 0; band < mm::kBandCount; ++band) {
        cells.ChannelItem[band] = info.Uhf(band) ? 1 : 0;
        doc.WorkChannel[band] = info.WorkChannel(band);
    }
}

void EncodeFreqAreas(Document &doc)
{
    RadioImage &image = doc.Image;
    const BandInfo info = BandInfoOf(image);
    info.SetBandsCode(doc.WorkBandsCode);
    for (int band = 0; band < mm::kBandCount; ++band)
        info.SetWorkChannel(band, doc.WorkChannel[band]);
    for (int band = 0; band < mm::kBandCount; ++band) {
        info.Area(band).SetLimits(doc.FreqAreas[band]);
        if (band < 2)
            WriteBandStartRecord(image, band, doc.FreqAreas, doc.WorkBandsCode);
    }
}

void RepairFreqArea(RadioImage &image, int band)
{
    if (band < 0 || band >= int(kRepairRecord.size()))
        return; // band C is shown as it is
    const mm::Address base = mm::kFreqAreaRecord[band];
    bool damaged = false;
    for (int i = 0; i < mm::kFreqAreaRecordSize; ++i)
        damaged = damaged || (image[base + i] >> 4) > 9 || (image[base + i] & 0x0F) > 9;
    if (!damaged)
        return;
    for (std::size_t i = 0; i < kRepairRecord[band].size(); ++i)
        image[base + i] = kRepairRecord[band][i];
}

EditorOpen FreqAreaGridClick(EditorCursor &cursor, const FreqAreaCells &cells, int band, int row,
                             int col)
{
    cursor.EditCol = std::int16_t(col == 0 ? 1 : col);
    cursor.EditRow = std::int16_t(row == 0 ? 1 : row);
    cursor.EnterPressed = false;
    EditorOpen editor;
    editor.cell = {cursor.EditRow, cursor.EditCol};
    if (cursor.EditCol == 2 && (cursor.EditRow == 3 || cursor.EditRow == 4))
        return editor; // the "-" cells
    editor.kind = kFreqAreaCellEditor.kind;
    editor.keyKind = kFreqAreaCellEditor.keyKind;
    editor.text = cells.Grids[band].Text(editor.cell.row, editor.cell.col);
    return editor;
}

EditorCommit FreqAreaCommit(Document &doc, EditorCursor &cursor, FreqAreaCells &cells, int band,
                            std::string_view boxText)
{
    EditorCommit result;
    FreqArea &area = doc.FreqAreas[band];
    const int field = FieldAt(cursor.EditRow, cursor.EditCol);
    if (boxText.empty()) {
        if (field >= 0)
            result.shownText = std::to_string(*AreaField(area, field));
    } else {
        const std::optional<std::int16_t> value = ToInt16(boxText);
        const int low = kFreqAreaCellEditor.min[band];
        const int high = kFreqAreaCellEditor.max[band];
        if (!value || *value > high)
            result.shownText = std::to_string(high);
        else if (*value < low)
            result.shownText = std::to_string(low);
        else
            result.shownText = std::string(boxText);
        const std::int16_t stored = ToInt16(result.shownText).value_or(0);
        if (field >= 0 && *AreaField(area, field) != stored) {
            *AreaField(area, field) = stored;
            doc.DataChanged = true;
        }
    }
    cells.Grids[band].SetText(cursor.EditRow, cursor.EditCol, result.shownText);

    if (!cursor.EnterPressed)
        return result;
    // Enter walks (1,1), (1,2), (2,1), (2,2), (3,1) and closes after the tuning frequency; the
    // debug row 4 has no stored value and closes too.
    if (cursor.EditRow >= 3) {
        cursor.EnterPressed = false;
        return result;
    }
    result.next = CellRef {cursor.EditCol == 1 ? cursor.EditRow : cursor.EditRow + 1,
                           cursor.EditCol == 1 ? 2 : 1};
    return result;
}

void ComboSelFreqArea_Click(Document &doc, FreqAreaCells &cells, int item)
{
    if (item < 0 || item >= int(kBandCombinationCodes.size()))
        return;
    cells.BandCombinationItem = item;
    doc.WorkBandsCode = kBandCombinationCodes[item];
}

void ComboChannelSel_Click(Document &doc, FreqAreaCells &cells, int band, int item)
{
    if (band < 0 || band >= mm::kBandCount)
        return;
    doc.DataChanged = true;
    cells.ChannelItem[band] = item == 1 ? 1 : 0;
    doc.WorkChannel[band] = item == 1 ? kChannelUhf : kChannelVhf;
}

EditorOpen FreqAreaEditor::Open(CellRef clicked)
{
    return FreqAreaGridClick(cursor_, model_, band_, clicked.row, clicked.col);
}

EditorCommit FreqAreaEditor::Commit(const EditorInput &input)
{
    if (input.enter)
        cursor_.EnterPressed = true;
    return FreqAreaCommit(doc_, cursor_, model_, band_, input.text);
}

} // namespace nx5rb
