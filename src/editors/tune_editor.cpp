#include "editors/tune_editor.h"

#include "editors/typed_number.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace nx5rb {

namespace {

// The tune row and point, or squelch row and column, a grid cell edits; nothing for a caption.
RowValue TuneValueAt(int row, int col)
{
    return RowAt(kTuneViewRows, {row, col});
}

RowValue SquelchValueAt(int row, int col)
{
    return RowAt(kSquelchViewRows, {row, col});
}

// A click on a fixed row or column edits the first value of that line, as the grids always did.
void PlaceCursor(EditorCursor &cursor, int row, int col)
{
    cursor.EditCol = std::int16_t(col == 0 ? 1 : col);
    cursor.EditRow = std::int16_t(row == 0 ? 1 : row);
    cursor.EnterPressed = false;
}

// The row's box with the cell's text, or nothing for a cell that takes no value.
EditorOpen OpenOn(CellRef cell, const ViewRow *row, const TextGrid &grid)
{
    EditorOpen editor;
    editor.cell = cell;
    if (row) {
        editor.kind = row->editor.kind;
        editor.text = grid.Text(cell.row, cell.col);
        editor.keyKind = row->editor.keyKind;
    }
    return editor;
}

// A commit that reaches a cell no editor of this grid was opened on stores nothing.
EditorCommit Untouched(EditorCursor &cursor, const TextGrid &grid)
{
    cursor.EnterPressed = false;
    return {grid.Text(cursor.EditRow, cursor.EditCol), std::nullopt, {}};
}

void Store(Document &doc, std::uint8_t &stored, int value)
{
    if (stored == value)
        return;
    stored = std::uint8_t(value);
    doc.DataChanged = true;
}

EditorOpen TuneGridClick(const Document &doc, EditorCursor &cursor, const TuneCells &cells,
                         int band, int row, int col)
{
    PlaceCursor(cursor, row, col);
    const CellRef cell {cursor.EditRow, cursor.EditCol};
    const ViewRow *edited = TuneValueAt(cell.row, cell.col).row;
    return OpenOn(cell, TuneCellShaded(doc, band, cell.row, cell.col) ? nullptr : edited,
                  cells.Tune);
}

EditorCommit TuneCommit(Document &doc, EditorCursor &cursor, TuneCells &cells, int band,
                        std::string_view boxText)
{
    const int row = cursor.EditRow;
    const int col = cursor.EditCol;
    const RowValue edited = TuneValueAt(row, col);
    if (!edited.row || TuneCellShaded(doc, band, row, col))
        return Untouched(cursor, cells.Tune);
    std::uint8_t &stored
        = doc.TuneBuffer[band * mm::kTuneBlockSize + edited.row->Offset(edited.index)];

    EditorCommit result;
    // An emptied box, or text that is no number, shows the stored value again. Reading such text
    // as the limit instead would put 255 into a power cell: full transmit power nobody asked for.
    if (const std::optional<int> typed = TypedNumber(boxText)) {
        const int value = std::min(*typed, edited.row->editor.max[band]);
        result.shownText = value == *typed ? std::string(boxText) : std::to_string(value);
        Store(doc, stored, value);
    } else {
        result.shownText = std::to_string(stored);
    }
    cells.Tune.SetText(row, col, result.shownText);

    if (!cursor.EnterPressed)
        return result;
    const int lastUnshaded = (row == 1 ? doc.RxEdgeCol[band] : doc.TxEdgeCol[band]) - 1;
    if (col < lastUnshaded)
        result.next = CellRef {row, col + 1};
    else if (row < kTuneViewRows.back().cell.row)
        result.next = CellRef {row + 1, 1};
    else
        cursor.EnterPressed = false;
    return result;
}

EditorOpen SquelchGridClick(EditorCursor &cursor, const TuneCells &cells, int row, int col)
{
    PlaceCursor(cursor, row, col);
    const CellRef cell {cursor.EditRow, cursor.EditCol};
    return OpenOn(cell, SquelchValueAt(cell.row, cell.col).row, cells.Squelch);
}

EditorCommit SquelchCommit(Document &doc, EditorCursor &cursor, TuneCells &cells, int band,
                           std::string_view boxText)
{
    const int row = cursor.EditRow;
    const int col = cursor.EditCol;
    const RowValue edited = SquelchValueAt(row, col);
    if (!edited.row)
        return Untouched(cursor, cells.Squelch);
    std::uint8_t &stored
        = doc.TuneBuffer[band * mm::kTuneBlockSize + edited.row->Offset(edited.index)];

    EditorCommit result;
    // An emptied threshold means "as high as it goes"; text that is no number changes nothing.
    const int highest = edited.row->editor.max[band];
    std::optional<int> value = boxText.empty() ? highest : TypedNumber(boxText);
    if (value) {
        value = std::min(*value, highest);
        result.shownText
            = TypedNumber(boxText) == value ? std::string(boxText) : std::to_string(*value);
        Store(doc, stored, *value);
    } else {
        result.shownText = std::to_string(stored);
    }
    cells.Squelch.SetText(row, col, result.shownText);

    if (!cursor.EnterPressed)
        return result;
    // Column by column, high threshold before low.
    if (row == kSquelchViewRows.front().cell.row)
        result.next = CellRef {kSquelchViewRows.back().cell.row, col};
    else if (edited.index + 1 < edited.row->count)
        result.next = kSquelchViewRows.front().Cell(edited.index + 1);
    else
        cursor.EnterPressed = false;
    return result;
}

} // namespace

EditorOpen TuneGridEditor::Open(CellRef clicked)
{
    return TuneGridClick(doc_, cursor_, model_, band_, clicked.row, clicked.col);
}

EditorCommit TuneGridEditor::Commit(const EditorInput &input)
{
    if (input.enter)
        cursor_.EnterPressed = true;
    return TuneCommit(doc_, cursor_, model_, band_, input.text);
}

EditorOpen SquelchGridEditor::Open(CellRef clicked)
{
    return SquelchGridClick(cursor_, model_, clicked.row, clicked.col);
}

EditorCommit SquelchGridEditor::Commit(const EditorInput &input)
{
    if (input.enter)
        cursor_.EnterPressed = true;
    return SquelchCommit(doc_, cursor_, model_, band_, input.text);
}

} // namespace nx5rb
