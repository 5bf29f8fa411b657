#include "gui/freq_area_page.h"

#include "app/window_state.h"
#include "editors/freq_area_view.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace nx5rb {

namespace {

constexpr std::array<const char *, 3> kGridNames
    = {"MSHFlexGridFreqAreaA", "MSHFlexGridFreqAreaB", "MSHFlexGridFreqAreaC"};
constexpr std::array<const char *, 3> kEditorNames = {"Text1", "Text2", "Text6"};
constexpr std::array<int, kFreqAreaCols> kColumnTwips = {1500, 1200, 1200};

// "频段-A 接收频率 下限": what the box edits, for screen readers and test robots.
QString FieldName(int band, int row, int col)
{
    using namespace freq_area_text;
    return Q(kBandName[band]) + ' ' + Q(kRowCaption[row - 1]) + ' '
        + Q(col == 1 ? kLowName : kHighName);
}

} // namespace

FreqAreaPage::FreqAreaPage(WindowState &state, Prompt &prompt, QWidget *parent)
    : QGroupBox(Q(freq_area_text::kFrame), parent)
    , state_(state)
{
    using namespace freq_area_text;
    setObjectName("FrameFreqArea");
    auto *layout = new QGridLayout(this);

    for (int band = 0; band < mm::kBandCount; ++band) {
        editors_[band].emplace(state_, state_, state_.FreqAreaView, band);
        auto *grid = new CellGrid(
            state_.FreqAreaView.Grids[band], *editors_[band], prompt, [this] { Paint(); }, this);
        grid->setObjectName(kGridNames[band]);
        grid->setAccessibleName(Q(kGridTitle[band]));
        for (int col = 0; col < kFreqAreaCols; ++col)
            grid->SetColumnWidthTwips(col, kColumnTwips[col]);
        grid->Paint();
        grid->FitToContents();
        Grids[band] = grid;

        auto *box = new EditorBox(grid->viewport());
        box->setObjectName(kEditorNames[band]);
        box->setAccessibleName(FieldName(band, 1, 1));
        Editors[band] = box;
        grid->SetTextBox(box);
        grid->AccessibleName = [band](CellRef cell) { return FieldName(band, cell.row, cell.col); };
    }
    layout->addWidget(Grids[0], 0, 0);
    layout->addWidget(Grids[1], 0, 1);
    layout->addWidget(Grids[2], 1, 0, Qt::AlignTop);

    auto *lists = new QGridLayout;
    auto *bandsLabel = new QLabel(Q(kBandsLabel), this);
    bandsLabel->setObjectName("Label1");
    ComboSelFreqArea = new QComboBox(this);
    ComboSelFreqArea->setObjectName("ComboSelFreqArea");
    ComboSelFreqArea->setAccessibleName(Q(kBandsLabel));
    for (std::string_view item : kBandCombinations)
        ComboSelFreqArea->addItem(Q(item));
    bandsLabel->setBuddy(ComboSelFreqArea);
    lists->addWidget(bandsLabel, 0, 0);
    lists->addWidget(ComboSelFreqArea, 0, 1);
    connect(ComboSelFreqArea, &QComboBox::activated, this,
            [this](int item) { ComboSelFreqArea_Click(state_, state_.FreqAreaView, item); });

    for (int band = 0; band < mm::kBandCount; ++band) {
        auto *label = new QLabel(Q(kChannelLabel[band]), this);
        label->setObjectName(QString("LabelChannelSel%1").arg(band));
        auto *combo = new QComboBox(this);
        combo->setObjectName(QString("ComboChannelSel%1").arg(band));
        combo->setAccessibleName(Q(kChannelLabel[band]));
        for (std::string_view item : kChannelItems)
            combo->addItem(Q(item));
        label->setBuddy(combo);
        lists->addWidget(label, band + 1, 0);
        lists->addWidget(combo, band + 1, 1);
        connect(combo, &QComboBox::activated, this, [this, band](int item) {
            ComboChannelSel_Click(state_, state_.FreqAreaView, band, item);
        });
        ComboChannelSel[band] = combo;
    }
    lists->setRowStretch(4, 1);
    layout->addLayout(lists, 1, 1);

    auto *hint = new QLabel(Q(kHint), this);
    hint->setObjectName("Label3");
    layout->addWidget(hint, 2, 0, 1, 2);

    layout->addLayout(
        ReadWriteButtons(this, "CommandRead", "CommandWrite", CommandRead, CommandWrite), 3, 0, 1,
        2);
    layout->setRowStretch(4, 1);
}

void FreqAreaPage::Paint()
{
    for (CellGrid *grid : Grids)
        grid->Paint();
    ComboSelFreqArea->setCurrentIndex(state_.FreqAreaView.BandCombinationItem);
    for (int band = 0; band < mm::kBandCount; ++band)
        ComboChannelSel[band]->setCurrentIndex(state_.FreqAreaView.ChannelItem[band]);
}

void FreqAreaPage::CommitOpenEditor()
{
    for (CellGrid *grid : Grids)
        grid->CommitOpenEditor();
}

} // namespace nx5rb
