#include "gui/tune_table_page.h"

#include "app/window_state.h"
#include "editors/tune_table_view.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nx5rb {

namespace {

constexpr std::array<const char *, 3> kBandLetter = {"A", "B", "C"};
constexpr int kFirstColumnTwips = 970;
constexpr int kPointTwips = 500;
constexpr int kSquelchGridTwips = 8580;
constexpr int kSquelchColumnTwips = 950;
constexpr int kBoxTwips = 900;

} // namespace

FrameTuneData::FrameTuneData(WindowState &state, int band, QWidget *parent)
    : QGroupBox(Q(tune_text::kFrame[band]), parent)
    , state_(state)
    , band_(band)
{
    setObjectName(QString("FrameTuneData%1").arg(band));
    auto *layout = new QVBoxLayout(this);

    MSHFlexGridTuneData = new CellGrid(kTuneRows, kTuneCols, this);
    MSHFlexGridTuneData->setObjectName(QString("MSHFlexGridTuneData%1").arg(band));
    MSHFlexGridTuneData->setAccessibleName(Q(tune_text::kFrame[band]));
    MSHFlexGridTuneData->SetColumnWidthTwips(0, kFirstColumnTwips);
    for (int col = 1; col < kTuneCols; ++col)
        MSHFlexGridTuneData->SetColumnWidthTwips(col, kPointTwips);
    MSHFlexGridTuneData->FitToContents();
    layout->addWidget(MSHFlexGridTuneData);

    MSHFlexGridSqlTune = new CellGrid(kSquelchRows, kSquelchCols, this);
    MSHFlexGridSqlTune->setObjectName(QString("MSHFlexGridSqlTune%1").arg(band));
    MSHFlexGridSqlTune->setAccessibleName(Q(tune_text::kSquelch));
    MSHFlexGridSqlTune->SetColumnWidthTwips(0, kSquelchGridTwips - 8 * kSquelchColumnTwips);
    for (int col = 1; col < kSquelchCols; ++col)
        MSHFlexGridSqlTune->SetColumnWidthTwips(col, kSquelchColumnTwips);
    MSHFlexGridSqlTune->FitToContents();
    layout->addWidget(MSHFlexGridSqlTune);

    // Settings 1..3 on the left, the deviations on the right, the maximum offset below them.
    auto *settings = new QGridLayout;
    for (int field = 0; field < kModulationFields; ++field) {
        auto *label = new QLabel(Q(modulation_text::kLabel[field]), this);
        auto *box = new EditorBox(this, false);
        box->setObjectName(QString("TextResponse%1").arg(kModulationFields * band + field));
        box->setAccessibleName(Q(tune_text::kFrame[band]) + ' '
                               + Q(modulation_text::kLabel[field]).section(':', 0, 0));
        box->setFixedWidth(Twips(kBoxTwips));
        box->setReadOnly(true);
        label->setBuddy(box);
        const int row = field % 3;
        const int col = field < 3 ? 0 : 2;
        settings->addWidget(label, row, col);
        settings->addWidget(box, row, col + 1);
        TextResponse[field] = box;
    }
    if (band > 0) {
        auto *label = new QLabel(Q(modulation_text::kMaxOffsetLabel), this);
        TextPkValue = new EditorBox(this, false);
        TextPkValue->setObjectName(QString("TextPkValue%1").arg(band));
        TextPkValue->setAccessibleName(Q(tune_text::kFrame[band]) + ' '
                                       + Q(modulation_text::kMaxOffsetLabel).section('(', 0, 0));
        TextPkValue->setFixedWidth(Twips(kBoxTwips));
        TextPkValue->setReadOnly(true);
        label->setBuddy(TextPkValue);
        settings->addWidget(label, 3, 2);
        settings->addWidget(TextPkValue, 3, 3);
        settings->addWidget(new QLabel(Q(modulation_text::kMaxOffsetNote), this), 4, 2, 1, 2);
    }
    settings->setColumnStretch(4, 1);
    layout->addLayout(settings);

    layout->addLayout(ReadWriteButtons(this, QString("CommandRead") + kBandLetter[band],
                                       QString("CommandWrite") + kBandLetter[band], CommandRead,
                                       CommandWrite));
    layout->addStretch();
}

void FrameTuneData::Paint()
{
    const TuneCells &page = state_.TuneViews[band_];
    MSHFlexGridTuneData->Paint(page.Tune);
    MSHFlexGridSqlTune->Paint(page.Squelch);
    for (int row = 1; row < kTuneRows; ++row)
        for (int col = 1; col < kTuneCols; ++col)
            MSHFlexGridTuneData->SetShaded(row, col, TuneCellShaded(state_, band_, row, col));
    const ModulationBoxes &modulation = state_.ModulationViews[band_];
    for (int field = 0; field < kModulationFields; ++field)
        TextResponse[field]->setText(QString::fromStdString(modulation.Response[field]));
    if (TextPkValue)
        TextPkValue->setText(QString::fromStdString(modulation.MaxOffset));
}

} // namespace nx5rb
