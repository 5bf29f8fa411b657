// A band's tune page: the tune and squelch grids with their text boxes, the modulation
// settings and, on the pages of bands B and C, the maximum offset frequency; the band's calibration
// chart beside it.
#pragma once

#include "app/file_dialog.h"
#include "chart/calibration_chart.h"
#include "editors/modulation_editor.h"
#include "editors/tune_editor.h"
#include "gui/cell_grid.h"
#include "gui/editor_binder.h"
#include "gui/editor_box.h"
#include "gui/editor_page.h"
#include "link/prompt.h"

#include <array>

#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

namespace nx5rb {

class WindowState;

class TuneTablePage final : public QGroupBox, public EditorPage
{
    Q_OBJECT

public:
    TuneTablePage(WindowState &state, int band, Prompt &prompt, FileChooser &files,
                  QWidget *parent = nullptr);

    void Paint() override;
    void CommitOpenEditor() override;

    // "曲线图(&G)": the band's chart, opened once and brought to the front after that.
    void ShowChart();
    // The chart while it is open; null before it is first opened.
    CalibrationChart *Chart() const { return chart_; }
    // The file the data came from, as the chart's legend names it when comparing.
    void SetCurrentFileName(const QString &fileName);

    CellGrid *TuneGrid = nullptr; // MSHFlexGridTuneData(band)
    CellGrid *SquelchGrid = nullptr; // MSHFlexGridSqlTune(band)
    EditorBox *TuneBox = nullptr; // Text3(band), over the tune grid
    EditorBox *SquelchBox = nullptr; // Text5(band), over the squelch grid
    std::array<EditorBox *, kModulationFields> TextResponse {};
    EditorBox *TextPkValue = nullptr; // bands B and C only
    QPushButton *CommandRead = nullptr;
    QPushButton *CommandWrite = nullptr;
    QPushButton *CommandChart = nullptr;

private:
    void CompareWithFile();

    WindowState &state_;
    int band_;
    Prompt &prompt_;
    FileChooser &files_;
    TuneGridEditor tuneEditor_;
    SquelchGridEditor squelchEditor_;
    ModulationEditor modulationEditor_;
    BoxEditorBinder *modulationBinder_ = nullptr;
    QPointer<CalibrationChart> chart_;
    QString currentFile_;
};

} // namespace nx5rb
