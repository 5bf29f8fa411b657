#include "gui/power_on_page.h"

#include "app/window_state.h"
#include "gui/cell_grid.h"
#include "gui/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace nx5rb {

namespace {

constexpr int kBoxTwips = 375;
constexpr int kPitchTwips = 480;
constexpr int kLineGapTwips = 1920; // from the upper pair of lines to the lower pair
constexpr int kLabelTwips = 600;
constexpr int kBlockTwips = kLabelTwips + 7 * kPitchTwips + 240;
constexpr int kBoxesPerRow = 7;

} // namespace

PowerOnPage::PowerOnPage(WindowState &state, Prompt &prompt, QWidget *parent)
    : QGroupBox(Q(power_on_text::kFrame), parent)
    , state_(state)
    , editor_(state, state, state.PowerOnView)
{
    setObjectName("FrameOption");
    auto *layout = new QVBoxLayout(this);

    // Lines 0 and 2 in the left block, 1 and 3 in the right; each line two rows of seven boxes.
    auto *boxes = new QWidget(this);
    boxes->setFixedSize(TwipsToPixels(2 * kBlockTwips),
                        TwipsToPixels(kLineGapTwips + 2 * kPitchTwips));
    for (int line = 0; line < mm::kPowerOnLines; ++line) {
        const int left = (line % 2) * kBlockTwips;
        const int top = (line / 2) * kLineGapTwips;
        auto *label = new QLabel(Q(power_on_text::kLineLabel[line]), boxes);
        label->setObjectName(QString("LabelPowerOnMsg%1").arg(line));
        label->move(TwipsToPixels(left), TwipsToPixels(top));
        for (int column = 0; column < mm::kPowerOnLineLength; ++column) {
            const int index = line * mm::kPowerOnLineLength + column;
            auto *box = new EditorBox(boxes);
            box->setObjectName(QString("TextPowerOnMsg%1").arg(index));
            box->setAccessibleName(Q(power_on_text::kLineLabel[line]).left(2) + ' '
                                   + QString::number(column + 1));
            box->setMaxLength(1);
            box->setAlignment(Qt::AlignCenter);
            box->setGeometry(
                TwipsToPixels(left + kLabelTwips + (column % kBoxesPerRow) * kPitchTwips),
                TwipsToPixels(top + (column / kBoxesPerRow) * kPitchTwips),
                TwipsToPixels(kBoxTwips), TwipsToPixels(kBoxTwips));
            TextPowerOnMsg[index] = box;
        }
    }
    layout->addWidget(boxes);
    binder_ = new BoxEditorBinder(
        {TextPowerOnMsg.begin(), TextPowerOnMsg.end()}, editor_, prompt, [this] { Paint(); }, this);
    binder_->SelectOnEveryClick();

    layout->addLayout(ReadWriteButtons(this, "CommandReadOption", "CommandWriteOption",
                                       CommandReadOption, CommandWriteOption));
    layout->addStretch();
}

void PowerOnPage::CommitOpenEditor()
{
    binder_->CommitOpenEditor();
}

void PowerOnPage::Paint()
{
    for (int box = 0; box < kPowerOnBoxes; ++box)
        TextPowerOnMsg[box]->setText(QString::fromStdString(state_.PowerOnView.Boxes[box]));
}

} // namespace nx5rb
