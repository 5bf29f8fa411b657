#include "gui/editor_box.h"

#include <algorithm>
#include <string>

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace nx5rb {

namespace {
constexpr char kCopy[] = "复制(&C)";
constexpr char kPaste[] = "粘贴(&P)";

// The events by which the user changes the box's text.
bool IsUserEdit(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::ContextMenu:
        return true;
    case QEvent::MouseButtonRelease: // a middle click pastes the selection on X11
        return static_cast<const QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}
} // namespace

bool LeavesEditor(const QFocusEvent &event)
{
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

KeyValidator::KeyValidator(EditorBox *box)
    : QValidator(box)
    , box_(box)
{ }

QValidator::State KeyValidator::validate(QString &input, int &pos) const
{
    EditorBox &box = *box_;
    if (!box.produced_.isNull() && input == box.produced_) {
        box.produced_ = QString();
        return Acceptable;
    }
    // Text the program sets is the document's, not the user's.
    if (!box.editing_ || !box.KeyFilter || input == box.before_)
        return Acceptable;
    box.editing_ = false;

    // The edit as Qt makes it: the selection replaced by the new characters; else (a drop beside
    // the selection) the smallest change between the two texts.
    const QString &old = box.before_;
    int start = 0;
    int removed = 0;
    const int selStart = box.beforeSelStart_;
    const int selLength = box.beforeSelLength_;
    if (selLength > 0 && input.size() >= old.size() - selLength
        && input.startsWith(old.left(selStart)) && input.endsWith(old.mid(selStart + selLength))) {
        start = selStart;
        removed = selLength;
    } else {
        const int shorter = int(std::min(old.size(), input.size()));
        while (start < shorter && old[start] == input[start])
            ++start;
        int suffix = 0;
        while (suffix < shorter - start
               && old[old.size() - 1 - suffix] == input[input.size() - 1 - suffix])
            ++suffix;
        removed = int(old.size()) - start - suffix;
    }
    const QString inserted = input.mid(start, input.size() - (old.size() - removed));
    if (inserted.isEmpty())
        return Acceptable; // a deletion: Delete, cut, a drag out

    // Until a character is placed, the old text and its selection stand, as for a refused key.
    const QString head = old.left(start);
    const QString tail = old.mid(start + removed);
    QString placed;
    bool accepted = false;
    for (const QChar c : inserted) {
        // Line ends and tabs in pasted text are not keys: only the Enter key commits. A character
        // outside the basic plane is swallowed like any refused key; the filter refuses the rest
        // it does not know (full-width digits from an input method).
        if (c.unicode() < 32 || c.isSurrogate())
            continue;
        const std::string text = (accepted ? head + placed + tail : old).toStdString();
        const KeyDecision decision
            = box.KeyFilter({text, accepted ? 0 : removed}, KeyCode(c.unicode()));
        if (decision.key == kKeyNone)
            continue;
        accepted = true;
        if (decision.key >= 32)
            placed += QChar(decision.key);
        if (decision.commit) {
            box.commitPending_ = true;
            break; // the editor moves on: the rest is not this box's
        }
    }
    if (!accepted)
        return Invalid;
    const QString result = head + placed + tail;
    if (result != input) {
        input = result;
        pos = int(head.size() + placed.size());
        box.produced_ = result;
    }
    return Acceptable;
}

EditorBox::EditorBox(QWidget *parent)
    : QLineEdit(parent)
{
    // The values are digits and plain characters: an input method has nothing to compose here,
    // and a technician who types with one switched on still gets plain keys.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setValidator(new KeyValidator(this));
}

bool EditorBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    if (editing_ || !IsUserEdit(event) || isReadOnly())
        return QLineEdit::event(event);
    editing_ = true;
    produced_ = QString();
    before_ = text();
    beforeSelStart_ = selectionStart();
    beforeSelLength_ = int(selectedText().size());
    const bool handled = QLineEdit::event(event);
    editing_ = false;
    if (commitPending_) {
        commitPending_ = false;
        if (OnEnter)
            OnEnter();
    }
    return handled;
}

void EditorBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        TypeKey(kKeyEnter);
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        TypeKey(kKeyBackspace);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditorBox::TypeKey(KeyCode key)
{
    const KeyDecision decision = KeyFilter
        ? KeyFilter({text().toStdString(), int(selectedText().size())}, key)
        : KeyDecision {key, key == kKeyEnter};
    if (decision.key == kKeyBackspace)
        backspace();
    commitPending_ = commitPending_ || decision.commit;
}

void EditorBox::contextMenuEvent(QContextMenuEvent *event)
{
    // The box's own two entries, in the window's language; the paste is Qt's, through the
    // validator.
    QMenu menu(this);
    QAction *copy = menu.addAction(QString::fromUtf8(kCopy), this, &QLineEdit::copy);
    copy->setEnabled(hasSelectedText());
    QAction *paste = menu.addAction(QString::fromUtf8(kPaste), this, &QLineEdit::paste);
    paste->setEnabled(!isReadOnly());
    menu.exec(event->globalPos());
}

void EditorBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!LeavesEditor(*event))
        return;
    // What the owner sets on the way out is not the user's edit.
    editing_ = false;
    if (OnLostFocus)
        OnLostFocus();
}

} // namespace nx5rb
