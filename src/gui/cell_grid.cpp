#include "gui/cell_grid.h"

#include "gui/editor_binder.h"
#include "gui/editor_box.h"
#include "gui/grid_model.h"
#include "gui/qt_text.h"

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace nx5rb {

namespace {

constexpr int kDefaultRowTwips = 330;
constexpr int kInsetTwips = 10; // the text box is a little smaller than its cell

// Whether a key types anything: Delete ("\x7f" under X11) and Escape ("\x1b") do not.
bool TypesText(const QEvent *event)
{
    if (!event || event->type() != QEvent::KeyPress)
        return false;
    const QString text = static_cast<const QKeyEvent *>(event)->text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// The caption of the grid's top-left cell on the view's corner button.
class CornerCaption final : public QObject
{
public:
    CornerCaption(QAbstractButton *corner, const GridModel &model)
        : QObject(corner)
        , model_(model)
    {
        corner->installEventFilter(this);
    }

private:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto *corner = static_cast<QWidget *>(watched);
        QStylePainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        // The button itself is disabled (it would select every cell); its caption is not.
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = model_.Text({0, 0});
        option.textAlignment = Qt::AlignCenter;
        painter.drawControl(QStyle::CE_Header, option);
        return true;
    }

    const GridModel &model_;
};

} // namespace

// Places the box or list the rules chose over its cell, shades locked cells and hands the keys
// that leave an editor to the grid.
class CellGrid::Delegate final : public QStyledItemDelegate
{
public:
    explicit Delegate(CellGrid &grid)
        : QStyledItemDelegate(&grid)
        , grid_(grid)
    { }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        QWidget *editor = grid_.EditorFor(grid_.open_);
        if (!editor)
            return nullptr;
        if (editor->parentWidget() != parent)
            editor->setParent(parent);
        grid_.openEditor_ = editor;
        fresh_ = true;
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &) const override
    {
        // Only as it opens: a repaint during the commit must not put the old text back.
        if (!fresh_)
            return;
        fresh_ = false;
        const EditorOpen &open = grid_.open_;
        if (grid_.AccessibleName)
            editor->setAccessibleName(grid_.AccessibleName(open.cell));
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            // The lists are long (261 tones): filled again only when their items change.
            QStringList items;
            for (const std::string &item : open.items)
                items << Q(item);
            bool same = combo->count() == items.size();
            for (int i = 0; same && i < items.size(); ++i)
                same = combo->itemText(i) == items[i];
            if (!same) {
                combo->clear();
                combo->addItems(items);
            }
            combo->setCurrentIndex(open.selected);
        } else if (auto *box = qobject_cast<EditorBox *>(editor)) {
            box->setText(Q(open.text));
        }
    }

    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override
    {
        // The view commits the editor when its current cell moves away.
        grid_.Commit(false);
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &) const override
    {
        const QRect cell = option.rect;
        if (qobject_cast<QComboBox *>(editor)) {
            editor->setGeometry(cell.x(), cell.y(), cell.width(),
                                std::max(cell.height(), editor->sizeHint().height()));
        } else {
            const int inset = TwipsToPixels(kInsetTwips);
            editor->setGeometry(cell.x(), cell.y(), cell.width() - inset, cell.height() - inset);
        }
    }

    // The boxes and lists belong to the page and are used again.
    void destroyEditor(QWidget *editor, const QModelIndex &) const override
    {
        editor->hide();
        if (grid_.openEditor_ == editor)
            grid_.openEditor_ = nullptr;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(GridModel::kLockedRole).toBool())
            option->backgroundBrush = option->palette.dark();
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (!editor || editor != grid_.openEditor_)
            return false;
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            event->accept(); // Esc is the editor's own key, not a shortcut of the window
            return true;
        }
        if (event->type() == QEvent::FocusOut && LeavesEditor(*static_cast<QFocusEvent *>(event))) {
            grid_.LeaveEditor(editor, Leave::FocusLost);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const bool list = qobject_cast<QComboBox *>(editor) != nullptr;
        std::optional<Leave> how;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Escape:
            how = Leave::Escape;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            how = Leave::Enter;
            break;
        case Qt::Key_Tab:
            how = Leave::Tab;
            break;
        case Qt::Key_Backtab:
            how = Leave::Backtab;
            break;
        case Qt::Key_Up: // a list's own keys choose its items
            if (!list)
                how = Leave::Up;
            break;
        case Qt::Key_Down:
            if (!list)
                how = Leave::Down;
            break;
        default:
            break;
        }
        if (!how)
            return false;
        grid_.LeaveEditor(editor, *how);
        return true;
    }

private:
    CellGrid &grid_;
    mutable bool fresh_ = false; // the editor was just created for a cell
};

CellGrid::CellGrid(const TextGrid &grid, CellEditor &editor, Prompt &prompt,
                   std::function<void()> repaint, QWidget *parent)
    : QTableView(parent)
    , model_(new GridModel(grid, this))
    , delegate_(new Delegate(*this))
    , editor_(editor)
    , prompt_(prompt)
    , repaint_(std::move(repaint))
{
    setModel(model_);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(true);
    setWordWrap(false);
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setDefaultAlignment(Qt::AlignCenter);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setCornerButtonEnabled(false);
    if (auto *corner = findChild<QAbstractButton *>())
        new CornerCaption(corner, *model_);
    SetRowHeightTwips(kDefaultRowTwips);
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (!committing_)
                CommitOpenEditor();
        });
}

void CellGrid::SetColumnWidthTwips(int col, int twips)
{
    if (col == 0)
        verticalHeader()->setMinimumWidth(TwipsToPixels(twips));
    else
        setColumnWidth(col - 1, TwipsToPixels(twips));
}

void CellGrid::SetRowHeightTwips(int twips)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(TwipsToPixels(twips));
}

void CellGrid::FitToContents()
{
    // The design widths suit a small font; a column is never narrower than its widest text.
    for (int col = 0; col < model_->columnCount(); ++col)
        setColumnWidth(col,
                       std::max({columnWidth(col), sizeHintForColumn(col),
                                 horizontalHeader()->sectionSizeHint(col)}));
    const int width = 2 * frameWidth()
        + std::max(verticalHeader()->minimumWidth(), verticalHeader()->sizeHint().width())
        + horizontalHeader()->length();
    const int height
        = 2 * frameWidth() + horizontalHeader()->sizeHint().height() + verticalHeader()->length();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedSize(width, height);
    fitted_ = true;
}

void CellGrid::SetLocked(std::function<bool(CellRef)> locked)
{
    model_->Locked = std::move(locked);
}

void CellGrid::SetTextBox(EditorBox *box)
{
    box_ = box;
    box_->setParent(viewport());
    box_->setFrame(false);
    box_->hide();
    box_->KeyFilter
        = [this](BoxState state, KeyCode key) { return editor_.Key(open_, state, key); };
    // Enter itself is taken by the delegate; a key the rules commit on leaves as Enter does.
    box_->OnEnter = [this] { LeaveEditor(box_, Leave::Enter); };
}

void CellGrid::SetCombo(int col, QComboBox *combo)
{
    combos_[col] = combo;
    combo->setParent(viewport());
    combo->hide();
    // Only an item the user picks is a choice; a list left alone changes nothing.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        if (combo == openEditor_)
            userChose_ = true;
    });
}

void CellGrid::Paint()
{
    if (model_->Refresh() && fitted_)
        FitToContents();
}

QWidget *CellGrid::EditorFor(const EditorOpen &open) const
{
    if (open.kind == EditorKind::Text)
        return box_;
    const auto found = combos_.find(open.cell.col);
    return open.kind == EditorKind::Combo && found != combos_.end() ? found->second : nullptr;
}

bool CellGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool typed = trigger == AnyKeyPressed && TypesText(event);
    const bool asked = trigger == EditKeyPressed || trigger == AllEditTriggers;
    if (!index.isValid() || committing_ || !(typed || asked))
        return false;
    CommitOpenEditor();
    open_ = editor_.Open(GridModel::CellOf(index));
    if (!EditorFor(open_))
        return false;
    const QModelIndex target = model_->IndexOf(open_.cell);
    if (target != currentIndex())
        setCurrentIndex(target);
    scrollTo(target);
    userChose_ = false;
    if (!QTableView::edit(target, AllEditTriggers, nullptr) || !openEditor_)
        return false;
    // The typed character is the first of the new text.
    if (typed)
        QCoreApplication::sendEvent(openEditor_, event);
    return true;
}

void CellGrid::OpenCell(CellRef cell)
{
    edit(model_->IndexOf(cell), AllEditTriggers, nullptr);
}

void CellGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && state() != EditingState) {
        edit(currentIndex(), EditKeyPressed, nullptr);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CellGrid::mousePressEvent(QMouseEvent *event)
{
    pressed_ = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void CellGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    // A click opens the cell's editor, even on the cell whose editor the press just closed.
    if (event->button() == Qt::LeftButton && index.isValid() && index == pressed_ && !IsOpen())
        OpenCell(GridModel::CellOf(index));
}

void CellGrid::keyboardSearch(const QString &)
{
    // A typed character edits the current cell; it never jumps to another one.
}

void CellGrid::CommitOpenEditor()
{
    if (openEditor_)
        LeaveEditor(openEditor_, Leave::FocusLost);
}

std::optional<CellRef> CellGrid::Commit(bool enter)
{
    if (!openEditor_ || committing_)
        return std::nullopt;
    committing_ = true;
    EditorInput input;
    input.enter = enter;
    if (auto *combo = qobject_cast<QComboBox *>(openEditor_.data())) {
        input.text = combo->currentText().toStdString();
        if (userChose_)
            input.item = combo->currentIndex();
    } else {
        input.text = box_->text().toStdString();
    }
    const EditorCommit result = editor_.Commit(input);
    // The messages come first, while the cell still shows what it held.
    ShowCommitMessages(prompt_, result);
    if (openEditor_ == box_)
        box_->setText(Q(result.shownText));
    repaint_();
    committing_ = false;
    return result.next;
}

void CellGrid::LeaveEditor(QWidget *editor, Leave how)
{
    if (editor != openEditor_ || committing_)
        return;
    std::optional<CellRef> next;
    if (how != Leave::Escape)
        next = Commit(how == Leave::Enter);
    if (editor == openEditor_)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    const auto move = [this](CursorAction action) {
        const QModelIndex to = moveCursor(action, Qt::NoModifier);
        if (to.isValid())
            setCurrentIndex(to);
    };
    switch (how) {
    case Leave::Enter:
        if (next)
            OpenCell(*next);
        break;
    case Leave::Tab:
        move(MoveNext);
        break;
    case Leave::Backtab:
        move(MovePrevious);
        break;
    case Leave::Up:
        move(MoveUp);
        break;
    case Leave::Down:
        move(MoveDown);
        break;
    case Leave::FocusLost:
    case Leave::Escape:
        break;
    }
}

QString CellGrid::CellText(int row, int col) const
{
    return model_->Text({row, col});
}

bool CellGrid::IsShaded(int row, int col) const
{
    return model_->IndexOf({row, col}).data(GridModel::kLockedRole).toBool();
}

QRect CellGrid::CellRect(int row, int col) const
{
    return visualRect(model_->IndexOf({row, col}));
}

} // namespace nx5rb
