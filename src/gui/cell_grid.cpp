#include "gui/cell_grid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace nx5rb {

namespace {
constexpr int kDefaultRowTwips = 330;
constexpr int kBorder = 2;
} // namespace

CellGrid::CellGrid(int rows, int cols, QWidget *parent)
    : QTableWidget(rows, cols, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    setWordWrap(false);
    SetRowHeightTwips(kDefaultRowTwips);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            Item(row, col);
    connect(this, &QTableWidget::cellClicked, this, &CellGrid::CellClicked);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CellGrid::Scrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CellGrid::Scrolled);
}

QTableWidgetItem *CellGrid::Item(int row, int col)
{
    QTableWidgetItem *cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled);
        if (row == 0 || col == 0) {
            cell->setBackground(palette().button());
            cell->setTextAlignment(Qt::AlignCenter);
        }
        setItem(row, col, cell);
    }
    return cell;
}

void CellGrid::SetColumnWidthTwips(int col, int twips)
{
    setColumnWidth(col, Twips(twips));
}

void CellGrid::SetRowHeightTwips(int twips)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(Twips(twips));
}

void CellGrid::FitToContents()
{
    // The design widths suit a small font; a column is never narrower than its widest text.
    for (int col = 0; col < columnCount(); ++col)
        setColumnWidth(col, std::max(columnWidth(col), sizeHintForColumn(col)));
    int width = kBorder * 2;
    for (int col = 0; col < columnCount(); ++col)
        width += columnWidth(col);
    int height = kBorder * 2;
    for (int row = 0; row < rowCount(); ++row)
        height += rowHeight(row);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedSize(width, height);
    fitted_ = true;
}

void CellGrid::Paint(const TextGrid &grid)
{
    bool changed = false;
    for (int row = 0; row < std::min(rowCount(), grid.Rows()); ++row)
        for (int col = 0; col < std::min(columnCount(), grid.Cols()); ++col) {
            QTableWidgetItem *cell = Item(row, col);
            const QString text = QString::fromStdString(grid.Text(row, col));
            if (cell->text() != text) {
                cell->setText(text);
                changed = true;
            }
        }
    if (fitted_ && changed)
        FitToContents();
}

void CellGrid::SetShaded(int row, int col, bool shaded)
{
    Item(row, col)->setBackground(shaded ? palette().dark() : palette().base());
}

bool CellGrid::IsShaded(int row, int col) const
{
    const QTableWidgetItem *cell = item(row, col);
    return cell && cell->background() == palette().dark();
}

QString CellGrid::CellText(int row, int col) const
{
    const QTableWidgetItem *cell = item(row, col);
    return cell ? cell->text() : QString();
}

QRect CellGrid::CellRect(int row, int col) const
{
    return visualItemRect(item(row, col));
}

} // namespace nx5rb
