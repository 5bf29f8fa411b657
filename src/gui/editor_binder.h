// Runs the editor protocol for a row of boxes of a page (the grids run it themselves). Keys typed,
// pasted or from an input method pass the editor's key filter; Enter and leaving commit; messages
// are shown; the commit's text goes back into the box and the page repaints; Enter moves on.
#pragma once

#include "editors/editor_protocol.h"
#include "link/prompt.h"

#include <functional>
#include <vector>

#include <QObject>

namespace nx5rb {

class EditorBox;

// A commit's messages, in order, as the editors of every page show them: "错误", the exclamation
// icon, OK.
void ShowCommitMessages(Prompt &prompt, const EditorCommit &commit);

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
    // A click on the box that already has the focus selects its text again, as the first click
    // did (the one-character boxes: the next key replaces the character).
    void SelectOnEveryClick() { selectOnEveryClick_ = true; }

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
    bool selectOnEveryClick_ = false;
};

} // namespace nx5rb
