// The cell editors of a band's tune page: Text3 over the sensitivity and power grid and Text5 over
// the squelch grid. Both edit TuneBuffer only; the image follows when the edits are applied.
#pragma once

#include "editors/document.h"
#include "editors/editor_protocol.h"
#include "editors/tune_table_view.h"

namespace nx5rb {

// MSHFlexGridTuneData(band) with Text3(band), through the editor protocol. Cells are grid cells.
//
// A click on (row, col): a fixed row or column counts as 1; a shaded cell (sensitivity from
// RxEdgeCol on, power from TxEdgeCol on) opens nothing. Sets EditRow, EditCol and clears
// EnterPressed.
// Text3 left on cell (EditRow, EditCol): an empty box, or text that is not a number, shows the
// stored value again; a number is held to its row's upper limit (kTuneViewRows). With
// EnterPressed set the next cell is the one to the right, up to the last unshaded column of the
// row, then column 1 of the next row; after the last unshaded high-power cell the editor closes.
class TuneGridEditor final : public PageEditor<TuneCells>
{
public:
    using PageEditor::PageEditor;

    EditorOpen Open(CellRef clicked) override;
    EditorCommit Commit(const EditorInput &input) override;
};

// MSHFlexGridSqlTune(band) with Text5(band), through the editor protocol. Cells are grid cells.
//
// Every cell of rows 1 and 2 opens. Text5 left: an empty box becomes the row's upper limit
// (kSquelchViewRows), a number above it too; text that is not a number shows the stored value
// again. Enter walks the grid column by column, high threshold before low, and closes after (2, 8).
class SquelchGridEditor final : public PageEditor<TuneCells>
{
public:
    using PageEditor::PageEditor;

    EditorOpen Open(CellRef clicked) override;
    EditorCommit Commit(const EditorInput &input) override;
};

} // namespace nx5rb
