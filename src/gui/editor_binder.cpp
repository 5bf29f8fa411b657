#include "gui/editor_binder.h"

#include "gui/editor_box.h"
#include "gui/qt_text.h"

#include <QMouseEvent>
#include <QTimer>

namespace nx5rb {

void ShowCommitMessages(Prompt &prompt, const EditorCommit &commit)
{
    for (const std::string &message : commit.messages)
        prompt.Show({message, std::string(prompt_title::kError), PromptButtons::Ok,
                     PromptIcon::Exclamation});
}

BoxEditorBinder::BoxEditorBinder(std::vector<EditorBox *> boxes, CellEditor &editor, Prompt &prompt,
                                 std::function<void()> repaint, QObject *parent)
    : QObject(parent)
    , boxes_(std::move(boxes))
    , editor_(editor)
    , prompt_(prompt)
    , repaint_(std::move(repaint))
{
    for (int index = 0; index < int(boxes_.size()); ++index) {
        EditorBox *box = boxes_[std::size_t(index)];
        if (!box)
            continue;
        box->installEventFilter(this);
        box->KeyFilter = [this, index](BoxState state, KeyCode key) {
            if (current_ != index)
                Focused(index);
            return editor_.Key(open_, state, key);
        };
        box->OnEnter = [this] { Commit(true); };
        box->OnLostFocus = [this, index] {
            if (!moving_ && current_ == index)
                Commit(false);
        };
    }
}

void BoxEditorBinder::CommitOpenEditor()
{
    if (current_ >= 0 && boxes_[std::size_t(current_)]->hasFocus())
        Commit(false);
}

void BoxEditorBinder::Focused(int index)
{
    current_ = index;
    open_ = editor_.Open({0, index});
    // As a click on the box does: its whole text selected, once the click itself is handled.
    EditorBox *box = boxes_[std::size_t(index)];
    QTimer::singleShot(0, box, [box] {
        if (box->hasFocus())
            box->selectAll();
    });
}

void BoxEditorBinder::Commit(bool enter)
{
    if (current_ < 0)
        return;
    EditorBox *box = boxes_[std::size_t(current_)];
    const EditorCommit result = editor_.Commit({box->text().toStdString(), std::nullopt, enter});
    ShowCommitMessages(prompt_, result);
    box->setText(Q(result.shownText));
    repaint_();
    if (result.next)
        MoveTo(result.next->col);
}

void BoxEditorBinder::MoveTo(int index)
{
    if (index < 0 || index >= int(boxes_.size()) || !boxes_[std::size_t(index)])
        return;
    EditorBox *box = boxes_[std::size_t(index)];
    if (index != current_) {
        moving_ = true;
        box->setFocus(Qt::OtherFocusReason);
        moving_ = false;
        if (current_ != index) // the focus did not arrive at once (an inactive window)
            Focused(index);
    } else {
        open_ = editor_.Open({0, index});
    }
    box->selectAll();
}

bool BoxEditorBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int index = 0; index < int(boxes_.size()); ++index)
            if (boxes_[std::size_t(index)] == watched)
                Focused(index);
    }
    // The press placed the cursor and dropped the selection; the box selects all once the release
    // is handled, as a click that gives the focus does.
    if (selectOnEveryClick_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        auto *box = static_cast<EditorBox *>(watched);
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace nx5rb
