// Runs the editor protocol for the widgets of a page: the floating text box and lists over the
// cells of a grid, or a row of boxes of their own. Keys typed, pasted or from an input method pass
// the editor's key filter; Enter and leaving commit; the commit's text goes back into the box and
// the page repaints; a message is shown; Enter moves the editor on.
#pragma once

#include "editors/editor_protocol.h"
#include "link/prompt.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

class QComboBox;

namespace nx5rb {

class CellGrid;
class EditorBox;

// The floating editors of one grid (Text1 over MSHFlexGridFreqAreaA, Text4 and Combo1[k] over
// MSHFlexGridChInfo …). The page creates the widgets with their names; the binder places them.
class GridEditorBinder final : public QObject
{
    Q_OBJECT

public:
    // `repaint` shows what the core holds after a commit (the page's Paint).
    GridEditorBinder(CellGrid &grid, CellEditor &editor, Prompt &prompt,
                     std::function<void()> repaint, QObject *parent = nullptr);

    // The floating text box, and the list that opens over the cells of column `col`.
    void SetTextBox(EditorBox *box);
    void SetCombo(int col, QComboBox *combo);
    // What a screen reader says for the box over a cell ("频段-A 接收频率 下限").
    std::function<QString(CellRef)> AccessibleName;

    // Opens the editor as a click on (row, col) does; an editor still open commits first.
    void Open(int row, int col);
    // Commits an open editor as leaving it does; nothing when none is open.
    void CommitOpenEditor();
    bool IsOpen() const;

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void Commit(bool enter);
    void Close();

    CellGrid &grid_;
    CellEditor &editor_;
    Prompt &prompt_;
    std::function<void()> repaint_;
    EditorBox *box_ = nullptr;
    std::map<int, QComboBox *> combos_;
    EditorOpen open_;
    QComboBox *openCombo_ = nullptr;
    bool userChose_ = false; // the open list's item was picked by the user
    bool committing_ = false;
};

// A row of boxes that are always on the page (TextResponse, TextPkValue, TextPowerOnMsg): box i
// is the editor protocol's cell {0, i}. A box that gets the focus opens; leaving it commits.
class BoxEditorBinder final : public QObject
{
    Q_OBJECT

public:
    // Null entries stand for boxes this page does not have.
    BoxEditorBinder(std::vector<EditorBox *> boxes, CellEditor &editor, Prompt &prompt,
                    std::function<void()> repaint, QObject *parent = nullptr);

    // Commits the box that has the focus, as leaving it does.
    void CommitOpenEditor();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void Focused(int index);
    void Commit(bool enter);
    void MoveTo(int index);

    std::vector<EditorBox *> boxes_;
    CellEditor &editor_;
    Prompt &prompt_;
    std::function<void()> repaint_;
    EditorOpen open_;
    int current_ = -1; // the box that is open
    bool moving_ = false; // the focus is being moved by a commit
};

} // namespace nx5rb
