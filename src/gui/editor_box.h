// An editor box: the text box a grid places over a cell, or a box of its own on a page. Every typed
// key goes through a filter first, Enter commits at once, and losing the focus commits too.
#pragma once

#include "editors/editor_protocol.h"

#include <functional>
#include <optional>

#include <QLineEdit>

namespace nx5rb {

class EditorBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit EditorBox(QWidget *parent = nullptr);

    // Decides what a typed key becomes (kKeyNone swallows it), given the box's text and
    // selection, and whether the box commits once it is placed.
    std::function<KeyDecision(BoxState, KeyCode)> KeyFilter;
    // A key asked for a commit (Enter, or a key that moves on); the owner commits with Enter
    // pressed.
    std::function<void()> OnEnter;
    // The box lost the focus; the owner commits.
    std::function<void()> OnLostFocus;

protected:
    // Undo and redo keys reach the window's history, not the box's own text.
    bool event(QEvent *event) override;
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
};

} // namespace nx5rb
