#include "gui/grid_model.h"

#include <algorithm>

namespace nx5rb {

GridModel::GridModel(const TextGrid &grid, QObject *parent)
    : QAbstractTableModel(parent)
    , grid_(grid)
    , shown_(grid)
    , locked_(std::size_t(std::max(0, grid.Rows() * grid.Cols())), false)
{ }

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(0, shown_.Rows() - 1);
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(0, shown_.Cols() - 1);
}

QString GridModel::Text(CellRef cell) const
{
    return QString::fromStdString(shown_.Text(cell.row, cell.col));
}

bool GridModel::IsLocked(CellRef cell) const
{
    return shown_.Contains(cell.row, cell.col)
        && locked_[std::size_t(cell.row * shown_.Cols() + cell.col)];
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const CellRef cell = CellOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return Text(cell);
    case kLockedRole:
        return IsLocked(cell);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return orientation == Qt::Horizontal ? Text({0, section + 1}) : Text({section + 1, 0});
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsLocked(CellOf(index)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GridModel::Refresh()
{
    // One bounding range of the changed cells: a commit changes one cell or one row.
    int top = shown_.Rows(), left = shown_.Cols(), bottom = -1, right = -1;
    bool textChanged = false;
    bool headerChanged = false;
    for (int row = 0; row < shown_.Rows(); ++row)
        for (int col = 0; col < shown_.Cols(); ++col) {
            const CellRef cell {row, col};
            const bool locked = Locked && row > 0 && col > 0 && Locked(cell);
            const std::size_t at = std::size_t(row * shown_.Cols() + col);
            const bool textDiffers = shown_.Text(row, col) != grid_.Text(row, col);
            if (!textDiffers && locked_[at] == locked)
                continue;
            if (textDiffers) {
                shown_.SetText(row, col, grid_.Text(row, col));
                textChanged = true;
            }
            locked_[at] = locked;
            if (row == 0 || col == 0) {
                headerChanged = true;
                continue;
            }
            top = std::min(top, row);
            left = std::min(left, col);
            bottom = std::max(bottom, row);
            right = std::max(right, col);
        }
    if (bottom >= 0)
        emit dataChanged(IndexOf({top, left}), IndexOf({bottom, right}));
    if (headerChanged) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
    return textChanged;
}

} // namespace nx5rb
