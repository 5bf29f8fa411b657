// An editor box: the floating text box of a grid, or a box of its own on a page. Every typed key
// goes through a filter first, Enter commits at once, and losing the focus commits too.
#pragma once

#include "editors/editor_protocol.h"

#include <functional>
#include <optional>

#include <QLineEdit>

namespace nx5rb {

class CellGrid;

class EditorBox final : public QLineEdit
{
    Q_OBJECT

public:
    // A floating box starts hidden and opens over grid cells; a page's own box is shown at once.
    explicit EditorBox(QWidget *parent = nullptr, bool floating = true);

    // Decides what a typed key becomes (kKeyNone swallows it), given the box's text and
    // selection, and whether the box commits once it is placed.
    std::function<KeyDecision(BoxState, KeyCode)> KeyFilter;
    // A key asked for a commit (Enter, or a key that moves on); the owner commits with Enter
    // pressed.
    std::function<void()> OnEnter;
    // The box lost the focus while it was open; the owner commits and hides it.
    std::function<void()> OnLostFocus;

    // Places the box over a grid cell with the cell's text, shows it, focuses it and selects all.
    void OpenOver(CellGrid &grid, int row, int col, const QString &text);
    // Hides the box; a commit that hides it calls this first, so no second commit follows.
    void Close();
    bool IsOpen() const { return open_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Text committed by an input method, pasted or dropped passes the filter character by
    // character, as if typed.
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Offers each character to the filter as a typed key; true when the box accepted any.
    bool TypeText(const QString &text);
    // One key through the filter: nothing when it was swallowed, else whether it committed.
    std::optional<bool> TypeKey(KeyCode key);

    bool open_ = false;
};

} // namespace nx5rb
