#include "gui/editor_binder.h"

#include "gui/cell_grid.h"
#include "gui/editor_box.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QTimer>

namespace nx5rb {

namespace {

// A message box or a list's popup taking the focus for a moment is not leaving the editor.
bool LeavesEditor(const QEvent *event)
{
    const auto *focus = static_cast<const QFocusEvent *>(event);
    return focus->reason() != Qt::ActiveWindowFocusReason
        && focus->reason() != Qt::PopupFocusReason;
}

void ShowMessage(Prompt &prompt, const std::string &text)
{
    prompt.Show(
        {text, std::string(prompt_title::kError), PromptButtons::Ok, PromptIcon::Exclamation});
}

} // namespace

GridEditorBinder::GridEditorBinder(CellGrid &grid, CellEditor &editor, Prompt &prompt,
                                   std::function<void()> repaint, QObject *parent)
    : QObject(parent)
    , grid_(grid)
    , editor_(editor)
    , prompt_(prompt)
    , repaint_(std::move(repaint))
{
    connect(&grid_, &CellGrid::CellClicked, this, &GridEditorBinder::Open);
    connect(&grid_, &CellGrid::Scrolled, this, &GridEditorBinder::CommitOpenEditor);
}

void GridEditorBinder::SetTextBox(EditorBox *box)
{
    box_ = box;
    box_->KeyFilter
        = [this](BoxState state, KeyCode key) { return editor_.Key(open_, state, key); };
    box_->OnEnter = [this] { Commit(true); };
    box_->OnLostFocus = [this] { Commit(false); };
}

void GridEditorBinder::SetCombo(int col, QComboBox *combo)
{
    combos_[col] = combo;
    combo->hide();
    combo->installEventFilter(this);
    // Only an item the user picks is a choice; a list left alone changes nothing.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        if (combo == openCombo_)
            userChose_ = true;
    });
}

bool GridEditorBinder::IsOpen() const
{
    return openCombo_ || (box_ && box_->IsOpen());
}

void GridEditorBinder::Open(int row, int col)
{
    if (IsOpen())
        Commit(false);
    open_ = editor_.Open({row, col});
    grid_.setCurrentCell(open_.cell.row, open_.cell.col);
    if (open_.kind == EditorKind::Text && box_) {
        if (AccessibleName)
            box_->setAccessibleName(AccessibleName(open_.cell));
        box_->OpenOver(grid_, open_.cell.row, open_.cell.col, Q(open_.text));
        return;
    }
    const auto found = combos_.find(open_.cell.col);
    if (open_.kind != EditorKind::Combo || found == combos_.end())
        return;
    QComboBox *combo = found->second;
    // The lists are long (261 tones): filled again only when their items change.
    QStringList items;
    for (const std::string &item : open_.items)
        items << Q(item);
    bool same = combo->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = combo->itemText(i) == items[i];
    if (!same) {
        combo->clear();
        combo->addItems(items);
    }
    combo->setCurrentIndex(open_.selected);
    if (combo->parentWidget() != grid_.viewport())
        combo->setParent(grid_.viewport());
    grid_.scrollToItem(grid_.item(open_.cell.row, open_.cell.col));
    const QRect cell = grid_.CellRect(open_.cell.row, open_.cell.col);
    combo->setGeometry(cell.x(), cell.y(), cell.width(),
                       std::max(cell.height(), combo->sizeHint().height()));
    if (AccessibleName)
        combo->setAccessibleName(AccessibleName(open_.cell));
    userChose_ = false;
    openCombo_ = combo;
    combo->show();
    combo->raise();
    combo->setFocus(Qt::OtherFocusReason);
}

void GridEditorBinder::CommitOpenEditor()
{
    if (IsOpen())
        Commit(false);
}

void GridEditorBinder::Commit(bool enter)
{
    if (committing_ || !IsOpen())
        return;
    committing_ = true;
    EditorInput input;
    input.enter = enter;
    if (openCombo_) {
        input.text = openCombo_->currentText().toStdString();
        if (userChose_)
            input.item = openCombo_->currentIndex();
    } else {
        input.text = box_->text().toStdString();
    }
    const EditorCommit result = editor_.Commit(input);
    if (!openCombo_)
        box_->setText(Q(result.shownText));
    repaint_();
    if (result.message)
        ShowMessage(prompt_, *result.message);
    Close();
    committing_ = false;
    if (result.next)
        Open(result.next->row, result.next->col);
}

void GridEditorBinder::Close()
{
    if (box_ && box_->IsOpen())
        box_->Close();
    if (QComboBox *combo = openCombo_) {
        openCombo_ = nullptr;
        combo->hide();
    }
}

bool GridEditorBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == openCombo_ && LeavesEditor(event))
        Commit(false);
    return QObject::eventFilter(watched, event);
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
    box->setText(Q(result.shownText));
    repaint_();
    if (result.message)
        ShowMessage(prompt_, *result.message);
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
    return QObject::eventFilter(watched, event);
}

} // namespace nx5rb
