#include "gui/undo_history.h"

#include "app/document_history.h"
#include "gui/qt_text.h"

#include <QAction>
#include <QUndoCommand>
#include <QUndoStack>

namespace nx5rb {

namespace {

// One step: the bytes it changed, put back or forth.
class DocumentStep final : public QUndoCommand
{
public:
    using Put = std::function<void(const DocumentChange &, bool)>;

    DocumentStep(DocumentChange change, const QString &name, Put put)
        : QUndoCommand(name)
        , change_(std::move(change))
        , put_(std::move(put))
    { }

    void undo() override { put_(change_, false); }
    void redo() override
    {
        // Pushed after the change was made.
        if (done_)
            put_(change_, true);
        done_ = true;
    }

private:
    DocumentChange change_;
    Put put_;
    bool done_ = false;
};

} // namespace

UndoHistory::UndoHistory(Session &session, std::function<void()> commit,
                         std::function<void()> repaint, QObject *parent)
    : QObject(parent)
    , session_(session)
    , commit_(std::move(commit))
    , repaint_(std::move(repaint))
    , stack_(new QUndoStack(this))
    , recorded_(session.State().Snapshot())
{
    UndoAction = new QAction(this);
    UndoAction->setObjectName("ActionUndo");
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = new QAction(this);
    RedoAction->setObjectName("ActionRedo");
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *action : {UndoAction, RedoAction})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(UndoAction, &QAction::triggered, this, &UndoHistory::Undo);
    connect(RedoAction, &QAction::triggered, this, &UndoHistory::Redo);
    connect(stack_, &QUndoStack::indexChanged, this, &UndoHistory::Show);
    connect(stack_, &QUndoStack::cleanChanged, this, &UndoHistory::Show);
    Show();
}

void UndoHistory::Record()
{
    if (session_.Busy())
        return;
    DocumentSnapshot now = session_.State().Snapshot();
    std::optional<DocumentChange> change = DocumentChange::Between(recorded_, now);
    if (!change)
        return;
    const QString name = QString::fromStdString(ChangeName(recorded_, now));
    recorded_ = std::move(now);
    stack_->push(
        new DocumentStep(std::move(*change), name, [this](const DocumentChange &step, bool forth) {
            forth ? step.Redo(recorded_) : step.Undo(recorded_);
            session_.State().Restore(recorded_);
            repaint_();
        }));
}

void UndoHistory::Clear()
{
    stack_->clear();
    recorded_ = session_.State().Snapshot();
}

void UndoHistory::Undo()
{
    if (!enabled_ || session_.Busy())
        return;
    // An edit made since the last record, an open editor's included, is the step undone first.
    commit_();
    Record();
    stack_->undo();
}

void UndoHistory::Redo()
{
    if (!enabled_ || session_.Busy())
        return;
    commit_();
    Record();
    // An edit made after an undo has just dropped what could be redone.
    stack_->redo();
}

void UndoHistory::Enable(bool enabled)
{
    enabled_ = enabled;
    Show();
}

void UndoHistory::Show()
{
    const auto caption = [](std::string_view verb, const QString &name) {
        return name.isEmpty() ? Q(verb) : Q(verb) + " " + name;
    };
    UndoAction->setText(caption(history_text::kUndo, stack_->undoText()));
    RedoAction->setText(caption(history_text::kRedo, stack_->redoText()));
    UndoAction->setEnabled(enabled_ && stack_->canUndo());
    RedoAction->setEnabled(enabled_ && stack_->canRedo());
}

} // namespace nx5rb
