#include "chart/calibration_chart.h"

#include "chart/calibration_plots.h"
#include "chart/chart_text.h"

#include <algorithm>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace nx5rb {

namespace {

constexpr std::array<const char *, mm::kBandCount> kWindowObject
    = {"CalibrationChartA", "CalibrationChartB", "CalibrationChartC"};
constexpr QSize kWindowSize(900, 720);
// What a window frame (title bar, borders) takes beyond the window's own size.
constexpr QSize kFrameAllowance(16, 48);

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A button's caption as a screen reader should say it, without the mnemonic marker.
QString Spoken(const char *caption)
{
    return Text(caption).remove(QLatin1Char('&'));
}

} // namespace

CalibrationChart::CalibrationChart(int band, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    band = std::clamp(band, 0, mm::kBandCount - 1);
    setObjectName(QString::fromLatin1(kWindowObject[band]));
    setWindowTitle(Text(chart_text::kTitle[band]));
    setAccessibleName(Text(chart_text::kTitle[band]));

    plots_ = new CalibrationPlots(this);
    auto *compare = new QPushButton(Text(chart_text::kCompare), this);
    compare->setObjectName(QStringLiteral("CommandCompare"));
    compare->setAccessibleName(Spoken(chart_text::kCompare));
    clearCompare_ = new QPushButton(Text(chart_text::kClearCompare), this);
    clearCompare_->setObjectName(QStringLiteral("CommandClearCompare"));
    clearCompare_->setAccessibleName(Spoken(chart_text::kClearCompare));
    clearCompare_->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(compare);
    buttons->addWidget(clearCompare_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(plots_, 1);
    layout->addLayout(buttons);
    // Its design size where the screen has room for it, so that a small screen (1024×768) still
    // shows its buttons.
    QSize size = kWindowSize;
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - kFrameAllowance);
    resize(size.expandedTo(minimumSizeHint()));

    connect(compare, &QPushButton::clicked, this, &CalibrationChart::CompareRequested);
    connect(clearCompare_, &QPushButton::clicked, this, &CalibrationChart::ClearCompare);
}

void CalibrationChart::Update(const TuneChartModel &model)
{
    plots_->Update(model);
}

void CalibrationChart::SetCurrentFileName(const QString &fileName)
{
    plots_->SetCurrentName(fileName);
}

void CalibrationChart::SetCompare(const TuneChartModel &model, const QString &fileName)
{
    plots_->SetCompare(model, fileName);
    clearCompare_->setEnabled(true);
}

void CalibrationChart::ClearCompare()
{
    plots_->ClearCompare();
    clearCompare_->setEnabled(false);
}

bool CalibrationChart::Comparing() const
{
    return plots_->Comparing();
}

QImage RenderCalibrationChart(const TuneChartModel &model, const TuneChartModel *compare,
                              const QString &currentName, const QString &compareName, QSize size)
{
    CalibrationPlots plots;
    plots.resize(size);
    plots.Update(model);
    plots.SetCurrentName(currentName);
    if (compare)
        plots.SetCompare(*compare, compareName);
    // The charts lay themselves out from posted events once they have their size.
    QCoreApplication::sendPostedEvents();

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    plots.render(&painter);
    return image;
}

} // namespace nx5rb
