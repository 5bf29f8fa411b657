// A grid that shows the text matrix the core computed: row 0 and column 0 are fixed captions,
// cells are never edited in place (a floating editor opens over a clicked cell).
#pragma once

#include "editors/text_grid.h"

#include <QTableWidget>

namespace nx5rb {

// Layout sizes are given in twips (1/1440 inch); 15 twips make a pixel at 96 dpi.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

class CellGrid final : public QTableWidget
{
    Q_OBJECT

public:
    CellGrid(int rows, int cols, QWidget *parent = nullptr);

    void SetColumnWidthTwips(int col, int twips);
    void SetRowHeightTwips(int twips);
    // Widens columns to their texts, then sizes the grid to show every cell without scrolling.
    void FitToContents();

    // Every cell's text from the core.
    void Paint(const TextGrid &grid);
    // A cell the user cannot edit, drawn in the workspace colour.
    void SetShaded(int row, int col, bool shaded);
    bool IsShaded(int row, int col) const;
    QString CellText(int row, int col) const;
    // Where a floating editor over the cell goes, in viewport coordinates.
    QRect CellRect(int row, int col) const;

signals:
    // A click on a cell; the row or column of a fixed cell is passed as clicked.
    void CellClicked(int row, int col);
    // The grid scrolled (an open editor commits).
    void Scrolled();

private:
    QTableWidgetItem *Item(int row, int col);

    bool fitted_ = false; // sized to its contents, which Paint keeps true
};

} // namespace nx5rb
