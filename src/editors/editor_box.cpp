#include "editors/editor_box.h"

#include "editors/cell_grid.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace nx5rb {

namespace {
constexpr int kInsetTwips = 10; // the box is a little smaller than its cell
}

EditorBox::EditorBox(QWidget *parent, bool floating)
    : QLineEdit(parent)
    , open_(!floating)
{
    if (floating) {
        setFrame(false);
        hide();
    }
}

void EditorBox::OpenOver(CellGrid &grid, int row, int col, const QString &text)
{
    if (parentWidget() != grid.viewport())
        setParent(grid.viewport());
    grid.scrollToItem(grid.item(row, col));
    const QRect cell = grid.CellRect(row, col);
    const int inset = Twips(kInsetTwips);
    setGeometry(cell.x(), cell.y(), cell.width() - inset, cell.height() - inset);
    setText(text);
    open_ = true;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void EditorBox::Close()
{
    open_ = false;
    hide();
}

void EditorBox::keyPressEvent(QKeyEvent *event)
{
    KeyCode key = kKeyNone;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = kKeyEnter;
    else if (event->key() == Qt::Key_Backspace)
        key = kKeyBackspace;
    else if (!event->text().isEmpty())
        key = KeyCode(event->text().at(0).unicode());
    else {
        QLineEdit::keyPressEvent(event); // arrows, Home, Delete: no character, no filter
        return;
    }

    const KeyCode filtered
        = KeyFilter ? KeyFilter({text().toStdString(), int(selectedText().size())}, key) : key;
    if (filtered == kKeyNone)
        return;
    if (filtered == kKeyEnter) {
        if (OnEnter)
            OnEnter();
        return;
    }
    if (filtered == kKeyBackspace)
        QLineEdit::keyPressEvent(event);
    else if (filtered >= 32)
        insert(QString(QChar(filtered)));
    if (AfterKey)
        AfterKey(filtered);
}

void EditorBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a menu taking the focus for a moment is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (open_ && OnLostFocus)
        OnLostFocus();
}

} // namespace nx5rb
