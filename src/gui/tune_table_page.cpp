#include "gui/tune_table_page.h"

#include "app/file_commands.h"
#include "app/window_state.h"
#include "chart/calibration_chart.h"
#include "editors/tune_chart_model.h"
#include "editors/tune_table_view.h"
#include "gui/qt_text.h"

#include <QFileInfo>
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
constexpr std::string_view kChart = "曲线图(&G)";

} // namespace

TuneTablePage::TuneTablePage(WindowState &state, int band, Prompt &prompt, FileChooser &files,
                             QWidget *parent)
    : QGroupBox(Q(tune_text::kFrame[band]), parent)
    , state_(state)
    , band_(band)
    , prompt_(prompt)
    , files_(files)
    , tuneEditor_(state, state, state.TuneViews[band], band)
    , squelchEditor_(state, state, state.TuneViews[band], band)
    , modulationEditor_(state, state, state.ModulationViews[band], band)
{
    setObjectName(QString("FrameTuneData%1").arg(band));
    auto *layout = new QVBoxLayout(this);
    const QString frame = Q(tune_text::kFrame[band]);

    const auto repaint = [this] { Paint(); };
    const TuneCells &cells = state_.TuneViews[band];
    TuneGrid = new CellGrid(cells.Tune, tuneEditor_, prompt_, repaint, this);
    TuneGrid->setObjectName(QString("MSHFlexGridTuneData%1").arg(band));
    TuneGrid->setAccessibleName(frame);
    TuneGrid->SetLocked(
        [this](CellRef cell) { return TuneCellShaded(state_, band_, cell.row, cell.col); });
    TuneGrid->SetColumnWidthTwips(0, kFirstColumnTwips);
    for (int col = 1; col < kTuneCols; ++col)
        TuneGrid->SetColumnWidthTwips(col, kPointTwips);
    TuneGrid->Paint();
    TuneGrid->FitToContents();
    layout->addWidget(TuneGrid);

    SquelchGrid = new CellGrid(cells.Squelch, squelchEditor_, prompt_, repaint, this);
    SquelchGrid->setObjectName(QString("MSHFlexGridSqlTune%1").arg(band));
    SquelchGrid->setAccessibleName(frame + ' ' + Q(tune_text::kSquelch));
    SquelchGrid->SetColumnWidthTwips(0, kSquelchGridTwips - 8 * kSquelchColumnTwips);
    for (int col = 1; col < kSquelchCols; ++col)
        SquelchGrid->SetColumnWidthTwips(col, kSquelchColumnTwips);
    SquelchGrid->Paint();
    SquelchGrid->FitToContents();
    layout->addWidget(SquelchGrid);

    TuneBox = new EditorBox(TuneGrid->viewport());
    TuneBox->setObjectName(QString("Text3_%1").arg(band));
    TuneGrid->SetTextBox(TuneBox);
    TuneGrid->AccessibleName = [this, frame](CellRef cell) {
        return frame + ' ' + Q(tune_text::kTuneRowCaption[std::size_t(cell.row - 1)]) + ' '
            + TuneGrid->CellText(0, cell.col);
    };
    SquelchBox = new EditorBox(SquelchGrid->viewport());
    SquelchBox->setObjectName(QString("Text5_%1").arg(band));
    SquelchGrid->SetTextBox(SquelchBox);
    SquelchGrid->AccessibleName = [frame](CellRef cell) {
        return frame + ' ' + Q(tune_text::kDetection[std::size_t(cell.col - 1)]) + ' '
            + Q(tune_text::kSquelchRowCaption[std::size_t(cell.row - 1)]);
    };

    // Settings 1..3 on the left, the deviations on the right, the maximum offset below them with
    // its note beside it.
    auto *settings = new QGridLayout;
    std::vector<EditorBox *> boxes;
    for (int field = 0; field < kModulationFields; ++field) {
        auto *label = new QLabel(Q(modulation_text::kLabel[field]), this);
        auto *box = new EditorBox(this);
        box->setObjectName(QString("TextResponse%1").arg(kModulationFields * band + field));
        box->setAccessibleName(frame + ' ' + Q(modulation_text::kLabel[field]).section(':', 0, 0));
        box->setFixedWidth(TwipsToPixels(kBoxTwips));
        label->setBuddy(box);
        const int row = field % 3;
        const int col = field < 3 ? 0 : 2;
        settings->addWidget(label, row, col);
        settings->addWidget(box, row, col + 1);
        TextResponse[field] = box;
        boxes.push_back(box);
    }
    if (band > 0) {
        auto *label = new QLabel(Q(modulation_text::kMaxOffsetLabel), this);
        TextPkValue = new EditorBox(this);
        TextPkValue->setObjectName(QString("TextPkValue%1").arg(band));
        TextPkValue->setAccessibleName(frame + ' '
                                       + Q(modulation_text::kMaxOffsetLabel).section('(', 0, 0));
        TextPkValue->setFixedWidth(TwipsToPixels(kBoxTwips));
        label->setBuddy(TextPkValue);
        settings->addWidget(label, 3, 2);
        settings->addWidget(TextPkValue, 3, 3);
        settings->addWidget(new QLabel(Q(modulation_text::kMaxOffsetNote), this), 3, 4);
    }
    boxes.push_back(TextPkValue); // box kMaxOffsetBox; none on band A's page
    modulationBinder_ = new BoxEditorBinder(boxes, modulationEditor_, prompt_, repaint, this);
    settings->setColumnStretch(5, 1);
    layout->addLayout(settings);

    auto *buttons
        = ReadWriteButtons(this, QString("CommandRead") + kBandLetter[band],
                           QString("CommandWrite") + kBandLetter[band], CommandRead, CommandWrite);
    CommandChart = MakeButton(this, kChart, QString("CommandChart") + kBandLetter[band]);
    buttons->insertWidget(0, CommandChart);
    layout->addLayout(buttons);
    layout->addStretch();
    connect(CommandChart, &QPushButton::clicked, this, &TuneTablePage::ShowChart);
}

void TuneTablePage::Paint()
{
    TuneGrid->Paint();
    SquelchGrid->Paint();
    const ModulationBoxes &modulation = state_.ModulationViews[band_];
    for (int field = 0; field < kModulationFields; ++field)
        TextResponse[field]->setText(Q(modulation.Response[field]));
    if (TextPkValue)
        TextPkValue->setText(Q(modulation.MaxOffset));
    // The chart follows the working copy: a committed cell moves its point at once.
    if (chart_)
        chart_->Update(TuneChartModelOf(state_, band_));
}

void TuneTablePage::CommitOpenEditor()
{
    TuneGrid->CommitOpenEditor();
    SquelchGrid->CommitOpenEditor();
    modulationBinder_->CommitOpenEditor();
}

void TuneTablePage::ShowChart()
{
    if (!chart_) {
        // A window of its own that the page owns; it goes with the page.
        chart_ = new CalibrationChart(band_, this);
        if (!currentFile_.isEmpty())
            chart_->SetCurrentFileName(currentFile_);
        connect(chart_, &CalibrationChart::CompareRequested, this, &TuneTablePage::CompareWithFile);
        chart_->Update(TuneChartModelOf(state_, band_));
    }
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
}

void TuneTablePage::SetCurrentFileName(const QString &fileName)
{
    currentFile_ = QFileInfo(fileName).fileName();
    if (chart_)
        chart_->SetCurrentFileName(currentFile_);
}

void TuneTablePage::CompareWithFile()
{
    using namespace file_dialog_text;
    const std::string path = FileDialog(files_, prompt_, "OPEN", kOpenTitle, "");
    if (path.empty())
        return;
    const auto other = ReadDocumentFromFile(path, prompt_);
    if (other && chart_)
        chart_->SetCompare(TuneChartModelOf(*other, band_),
                           QFileInfo(QString::fromStdString(path)).fileName());
}

} // namespace nx5rb
