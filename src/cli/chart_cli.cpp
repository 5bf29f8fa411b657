#include "cli/chart_cli.h"

#include "chart/calibration_chart.h"
#include "cli/arguments.h"
#include "cli/open_for_command.h"
#include "editors/tune_chart_model.h"

#include <charconv>
#include <optional>

#include <QApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace nx5rb::cli {

const char *const kChartHelp
    = R"TEXT(usage: nx5rb-cli chart FILE.dat --band a|b|c -o OUT.png [--compare OTHER.dat]
                       [--size WIDTHxHEIGHT]

Opens FILE.dat as "打开(&O)" does and draws the band's calibration chart into OUT.png: sensitivity,
low power and high power over the sixteen frequency points, with the points above the band's
receive or transmit limit (locked on the tune page) shaded, and beneath it the squelch thresholds
of the eight detection columns. No display is needed: the chart is drawn offscreen unless
QT_QPA_PLATFORM names another platform.

options:
  -b, --band a|b|c           the band (required)
  -o, --output OUT.png       the picture to write (required)
  -c, --compare OTHER.dat    draw the same curves of OTHER.dat dashed over them; the legend
                             names both files
  -s, --size WIDTHxHEIGHT    the picture's size in pixels (default 1000x750, each 200..8000)
)TEXT";

namespace {

constexpr QSize kDefaultSize(1000, 750);
constexpr int kSmallestSide = 200;
constexpr int kLargestSide = 8000;

std::optional<int> ParseBand(const std::string &text)
{
    if (text.size() != 1)
        return std::nullopt;
    const char letter = char(text.front() | 0x20); // either case
    if (letter < 'a' || letter >= 'a' + mm::kBandCount)
        return std::nullopt;
    return letter - 'a';
}

std::optional<int> ParseSide(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < kSmallestSide
        || value > kLargestSide)
        return std::nullopt;
    return value;
}

std::optional<QSize> ParseSize(const std::string &text)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = ParseSide(std::string_view(text).substr(0, x));
    const auto height = ParseSide(std::string_view(text).substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}

TuneChartModel ModelOf(const WindowState &state, int band)
{
    return BuildTuneChartModel(state.Image, band, TuneBlockOf(state.TuneBuffer, band),
                               state.RxEdgeCol[band], state.TxEdgeCol[band]);
}

// Drawing needs a widget application. The chart does not need a screen, and drawing offscreen
// keeps the picture the same on every machine (no display's resolution or scaling), so offscreen
// is the default even where a display is set.
class WidgetApplication
{
public:
    WidgetApplication()
    {
        if (QCoreApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            argc_ = 3;
        app_.emplace(argc_, argv_);
    }

    bool Usable() const { return qobject_cast<QApplication *>(QCoreApplication::instance()); }

private:
    int argc_ = 1;
    char name_[10] = "nx5rb-cli";
    char platformOption_[10] = "-platform";
    char platform_[10] = "offscreen";
    char *argv_[4] = {name_, platformOption_, platform_, nullptr};
    std::optional<QApplication> app_;
};

} // namespace

int RunChart(const std::vector<std::string> &args, std::ostream &, std::ostream &err, bool)
{
    std::string bandText;
    std::string output;
    std::string compareFile;
    std::string sizeText;
    const auto file = ParseArguments(args,
                                     {{"-b", "--band", &bandText},
                                      {"-o", "--output", &output},
                                      {"-c", "--compare", &compareFile},
                                      {"-s", "--size", &sizeText}},
                                     1, "FILE.dat", err, kChartHelp);
    if (!file)
        return kExitUsage;
    if (bandText.empty())
        return UsageError(err, "missing --band", kChartHelp);
    const auto band = ParseBand(bandText);
    if (!band)
        return UsageError(err, "--band must be a, b or c, not " + bandText, kChartHelp);
    if (output.empty())
        return UsageError(err, "missing -o OUT.png", kChartHelp);
    QSize size = kDefaultSize;
    if (!sizeText.empty()) {
        const auto parsed = ParseSize(sizeText);
        if (!parsed)
            return UsageError(err, "--size must be WIDTHxHEIGHT, each 200..8000, not " + sizeText,
                              kChartHelp);
        size = *parsed;
    }

    const auto state = OpenForCommand(file->front(), err);
    if (!state)
        return kExitFailure;
    std::optional<WindowState> other;
    if (!compareFile.empty()) {
        other = OpenForCommand(compareFile, err);
        if (!other)
            return kExitFailure;
    }

    const WidgetApplication application;
    if (!application.Usable()) {
        err << "nx5rb-cli: chart: drawing needs a widget application\n";
        return kExitFailure;
    }
    const TuneChartModel model = ModelOf(*state, *band);
    std::optional<TuneChartModel> compare;
    if (other)
        compare = ModelOf(*other, *band);
    const QImage image = RenderCalibrationChart(model, compare ? &*compare : nullptr,
                                                QString::fromStdString(file->front()),
                                                QString::fromStdString(compareFile), size);

    QSaveFile target(QString::fromStdString(output));
    if (!target.open(QIODevice::WriteOnly) || !image.save(&target, "PNG") || !target.flush()
        || !target.commit()) {
        const QString reason
            = target.error() != QFileDevice::NoError ? target.errorString() : "cannot write a PNG";
        err << "nx5rb-cli: " << output << ": " << reason.toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace nx5rb::cli
