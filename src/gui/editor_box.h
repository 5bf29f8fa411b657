// An editor box: the text box a grid places over a cell, or a box of its own on a page. Whatever
// text reaches it (typed, pasted, dropped or committed by an input method) goes through the key
// filter first, Enter commits at once, and losing the focus commits too.
#pragma once

#include "editors/editor_protocol.h"

#include <functional>

#include <QLineEdit>
#include <QValidator>

namespace nx5rb {

class EditorBox;

// Whether losing the focus leaves an editor: a message box, a menu or a list's popup taking it for
// a moment does not.
bool LeavesEditor(const QFocusEvent &event);

// The box's validator: the characters an edit brings are offered to the box's key filter one by
// one, as typed keys, against the text the box held before the edit; what the filter lets through
// (upper case where it changes a letter) is what the box keeps. An edit the filter refuses whole is
// undone.
class KeyValidator final : public QValidator
{
public:
    explicit KeyValidator(EditorBox *box);
    State validate(QString &input, int &pos) const override;

private:
    EditorBox *box_;
};

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
    // Undo and redo keys reach the window's history, not the box's own text. An event by which the
    // user edits the text has the text before it kept for the validator, and a commit the filter
    // asked for follows once it is handled.
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    friend class KeyValidator;

    // Enter and Backspace are keys, not text: they reach the filter as such.
    void TypeKey(KeyCode key);

    // The text and selection before the user's edit under way; the validator takes the edit once.
    bool editing_ = false;
    QString before_;
    int beforeSelStart_ = -1;
    int beforeSelLength_ = 0;
    // The text the validator made of an edit, which Qt validates once more as it sets it.
    QString produced_;
    // The filter asked for a commit; it happens once the event that brought the key is handled.
    bool commitPending_ = false;
};

} // namespace nx5rb
