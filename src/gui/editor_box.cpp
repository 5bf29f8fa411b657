#include "gui/editor_box.h"

#include <algorithm>
#include <optional>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace nx5rb {

namespace {
constexpr char kCopy[] = "复制(&C)";
constexpr char kPaste[] = "粘贴(&P)";

// Whether a key's text types anything. Delete arrives as "\x7f" under X11 and Escape as "\x1b":
// control characters, which are the box's own keys, not text for the filter.
bool TypesText(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}
} // namespace

EditorBox::EditorBox(QWidget *parent)
    : QLineEdit(parent)
{
    // The values are digits and plain characters: an input method has nothing to compose here,
    // and a technician who types with one switched on still gets plain keys.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setAcceptDrops(false);
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
    return QLineEdit::event(event);
}

void EditorBox::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste) {
        TypeText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        TypeKey(kKeyEnter);
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        TypeKey(kKeyBackspace);
        return;
    }
    if (!TypesText(event->text()) || event->modifiers().testFlag(Qt::ControlModifier)) {
        // Arrows, Home, Delete, copy, select all: no printable character, no filter. Cut would
        // change the text without a key; it is left to Backspace and Delete.
        if (event != QKeySequence::Cut)
            QLineEdit::keyPressEvent(event);
        return;
    }
    TypeText(event->text());
}

bool EditorBox::TypeText(const QString &typed)
{
    bool accepted = false;
    for (const QChar c : typed) {
        // Line ends and tabs in pasted text are not keys: only the Enter key commits. A character
        // outside the basic plane is swallowed like any refused key; the filter refuses the rest
        // it does not know (full-width digits from an input method).
        if (c.unicode() < 32 || c.isSurrogate())
            continue;
        const std::optional<bool> committed = TypeKey(KeyCode(c.unicode()));
        accepted = accepted || committed.has_value();
        if (committed.value_or(false))
            break; // the editor moved on or closed: the rest is not this box's
    }
    return accepted;
}

std::optional<bool> EditorBox::TypeKey(KeyCode key)
{
    if (key == kKeyNone)
        return std::nullopt;
    const KeyDecision decision = KeyFilter
        ? KeyFilter({text().toStdString(), int(selectedText().size())}, key)
        : KeyDecision {key, key == kKeyEnter};
    if (decision.key == kKeyNone)
        return std::nullopt;
    if (decision.key == kKeyBackspace)
        backspace();
    else if (decision.key >= 32)
        insert(QString(QChar(decision.key)));
    if (decision.commit && OnEnter)
        OnEnter();
    return decision.commit;
}

void EditorBox::inputMethodEvent(QInputMethodEvent *event)
{
    // Only what the input method commits counts; its composition is not text of the box.
    const QString committed = event->commitString();
    event->accept();
    if (!committed.isEmpty() && !isReadOnly())
        TypeText(committed);
}

void EditorBox::mouseReleaseEvent(QMouseEvent *event)
{
    // A middle click pastes the selection on X11: through the filter like every other paste.
    if (event->button() == Qt::MiddleButton) {
        if (!isReadOnly())
            TypeText(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EditorBox::contextMenuEvent(QContextMenuEvent *event)
{
    // The standard menu would paste and cut behind the filter.
    QMenu menu(this);
    QAction *copy = menu.addAction(QString::fromUtf8(kCopy), this, &QLineEdit::copy);
    copy->setEnabled(hasSelectedText());
    QAction *paste = menu.addAction(QString::fromUtf8(kPaste), this, [this] {
        TypeText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    });
    paste->setEnabled(!isReadOnly());
    menu.exec(event->globalPos());
}

void EditorBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a menu taking the focus for a moment is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (OnLostFocus)
        OnLostFocus();
}

} // namespace nx5rb
