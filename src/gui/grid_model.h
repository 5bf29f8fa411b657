// The table model of a grid: the text matrix the rules keep (row 0 and column 0 are the captions,
// shown as the view's headers), and which cells are locked. The model shows what the grid held at
// its last Refresh, so a message shown during a commit appears before the cell changes.
#pragma once

#include "editors/editor_protocol.h"
#include "editors/text_grid.h"

#include <functional>
#include <vector>

#include <QAbstractTableModel>

namespace nx5rb {

class GridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // True for a cell (in grid coordinates) that the user cannot edit and that is shaded.
    static constexpr int kLockedRole = Qt::UserRole + 1;

    explicit GridModel(const TextGrid &grid, QObject *parent = nullptr);

    // Which cells are locked; none without it.
    std::function<bool(CellRef)> Locked;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Takes what the grid and the lock hold now and says which cells changed; true when a text
    // changed.
    bool Refresh();

    // Grid coordinates of a model index and back; the captions have no index.
    static CellRef CellOf(const QModelIndex &index)
    {
        return {index.row() + 1, index.column() + 1};
    }
    QModelIndex IndexOf(CellRef cell) const { return index(cell.row - 1, cell.col - 1); }
    // The text of any cell, captions included.
    QString Text(CellRef cell) const;

private:
    bool IsLocked(CellRef cell) const;

    const TextGrid &grid_;
    TextGrid shown_;
    std::vector<bool> locked_;
};

} // namespace nx5rb
