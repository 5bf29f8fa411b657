// A grid of a page: a table view over the text matrix the rules keep, with the captions as real
// headers. Its cells open the editor the rules choose (a text box or a list placed over the cell)
// on a click, on F2 or Enter, or on a typed character, which the box then receives. Enter commits
// and opens where the rules walk to; Tab commits and moves right; Esc closes the editor and keeps
// the stored value; leaving the editor commits. Arrow keys and Tab move the current cell.
#pragma once

#include "editors/editor_protocol.h"
#include "editors/text_grid.h"
#include "link/prompt.h"

#include <functional>
#include <map>

#include <QPointer>
#include <QTableView>

class QComboBox;

namespace nx5rb {

class EditorBox;
class GridModel;

// Layout sizes are given in twips (1/1440 inch); 15 twips make a pixel at 96 dpi.
constexpr int TwipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

class CellGrid final : public QTableView
{
    Q_OBJECT

public:
    // `repaint` shows what the core holds after a commit (the page's Paint, which calls Paint).
    CellGrid(const TextGrid &grid, CellEditor &editor, Prompt &prompt,
             std::function<void()> repaint, QWidget *parent = nullptr);

    void SetColumnWidthTwips(int col, int twips);
    void SetRowHeightTwips(int twips);
    // Widens columns to their texts, then sizes the grid to show every cell without scrolling.
    void FitToContents();
    // Which cells are locked: shaded, and opening no editor.
    void SetLocked(std::function<bool(CellRef)> locked);

    // The floating text box, and the list that opens over the cells of column `col`.
    void SetTextBox(EditorBox *box);
    void SetCombo(int col, QComboBox *combo);
    // What a screen reader says for the editor over a cell ("频段-A 接收频率 下限").
    std::function<QString(CellRef)> AccessibleName;

    // Shows what the grid holds now.
    void Paint();
    // Opens the editor as a click on the cell does; an editor still open commits first.
    void OpenCell(CellRef cell);
    // Commits an open editor as leaving it does; nothing when none is open.
    void CommitOpenEditor();
    bool IsOpen() const { return !openEditor_.isNull(); }

    // The text of any cell, captions included (row 0, column 0).
    QString CellText(int row, int col) const;
    bool IsShaded(int row, int col) const;
    // Where a cell is, in viewport coordinates; header cells have no place there.
    QRect CellRect(int row, int col) const;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyboardSearch(const QString &search) override;

private:
    class Delegate;
    friend class Delegate;

    // How the user left the open editor.
    enum class Leave { Enter, Tab, Backtab, Up, Down, FocusLost, Escape };
    void LeaveEditor(QWidget *editor, Leave how);
    // Runs the rules' commit of the open editor; where Enter walks to.
    std::optional<CellRef> Commit(bool enter);
    QWidget *EditorFor(const EditorOpen &open) const;

    GridModel *model_ = nullptr;
    Delegate *delegate_ = nullptr;
    CellEditor &editor_;
    Prompt &prompt_;
    std::function<void()> repaint_;
    EditorBox *box_ = nullptr;
    std::map<int, QComboBox *> combos_;
    EditorOpen open_;
    QPointer<QWidget> openEditor_;
    bool userChose_ = false; // the open list's item was picked by the user
    bool committing_ = false;
    bool fitted_ = false; // sized to its contents, which Paint keeps true
    QPersistentModelIndex pressed_; // the cell a click began on
};

} // namespace nx5rb
