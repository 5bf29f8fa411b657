#include "cli/chart_cli.h"

#include "cli/arguments.h"
#include "cli/core_application.h"
#include "image/memory_map.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace nx5rb::cli {

namespace {

constexpr OptionRow kChartOptions[] = {
    {"b", "band", "a|b|c", "the band", true},
    {"o", "output", "OUT.png",
     "the picture to write; its extension names the format:\n"
     "png, jpg or jpeg, bmp, ppm, ... (an unknown one is refused)",
     true},
    {"c", "compare", "OTHER.dat",
     "draw the same curves of OTHER.dat dashed over them; the legend\n"
     "names both files"},
    {"s", "size", "WIDTHxHEIGHT",
     "the picture's size in pixels (default 1000x750, each 200..8000)"},
};

} // namespace

const CommandSyntax kChartSyntax = {
    .name = "chart",
    .positional = "FILE.dat",
    .summary = "draw a band's calibration chart",
    .options = kChartOptions,
    .about
    = R"TEXT(Opens FILE.dat as "打开(&O)" does and draws the band's calibration chart into OUT.png: sensitivity,
low power and high power over the sixteen frequency points, with the points above the band's
receive or transmit limit (locked on the tune page) shaded, and beneath it the squelch thresholds
of the eight detection columns. No display is needed: the chart is drawn offscreen unless
QT_QPA_PLATFORM names another platform. The drawing is done by nx5rb-chart, found beside
nx5rb-cli or else on PATH.
)TEXT",
};

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

std::optional<QSize> ParseSize(const std::string &text)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = NumberIn(std::string_view(text).substr(0, x), kSmallestSide, kLargestSide);
    const auto height = NumberIn(std::string_view(text).substr(x + 1), kSmallestSide, kLargestSide);
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}

// nx5rb-chart beside this program (as installed, and in the build tree), else on PATH.
QString FindChartProgram()
{
    const QString beside
        = QStandardPaths::findExecutable(kChartProgram, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(kChartProgram) : beside;
}

} // namespace

std::optional<ChartRequest> ParseChartRequest(const std::vector<std::string> &args,
                                              std::ostream &err, std::string_view help)
{
    const auto line = ParseCommandLine(kChartSyntax, args, err, help);
    if (!line)
        return std::nullopt;
    const std::string ownHelp = help.empty() ? HelpText(kChartSyntax) : std::string();
    if (help.empty())
        help = ownHelp;
    ChartRequest request;
    request.file = line->Positional().front();
    request.output = line->Value("output");
    request.compareFile = line->Value("compare");
    const std::string bandText = line->Value("band");
    const std::string sizeText = line->Value("size");
    const auto band = ParseBand(bandText);
    if (!band) {
        UsageError(err, "--band must be a, b or c, not " + bandText, help);
        return std::nullopt;
    }
    request.band = *band;
    request.size = kDefaultSize;
    if (!sizeText.empty()) {
        const auto parsed = ParseSize(sizeText);
        if (!parsed) {
            UsageError(err, "--size must be WIDTHxHEIGHT, each 200..8000, not " + sizeText, help);
            return std::nullopt;
        }
        request.size = *parsed;
    }
    return request;
}

int RunChart(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool)
{
    if (!ParseChartRequest(args, err))
        return kExitUsage;

    // Finding this program's folder needs an application object; nx5rb-cli's main has none.
    const CoreApplicationIfNone application;

    const QString program = FindChartProgram();
    if (program.isEmpty()) {
        err << "nx5rb-cli: chart: " << kChartProgram
            << " (which draws the chart) is neither beside nx5rb-cli nor on PATH\n";
        return kExitFailure;
    }
    QStringList arguments;
    for (const std::string &arg : args)
        arguments << QString::fromStdString(arg);
    QProcess drawing;
    drawing.start(program, arguments);
    drawing.closeWriteChannel();
    const bool finished = drawing.waitForFinished(-1);
    out << drawing.readAllStandardOutput().toStdString();
    err << drawing.readAllStandardError().toStdString();
    if (!finished || drawing.exitStatus() != QProcess::NormalExit) {
        err << "nx5rb-cli: chart: " << program.toStdString() << ": "
            << drawing.errorString().toStdString() << "\n";
        return kExitFailure;
    }
    return drawing.exitCode();
}

} // namespace nx5rb::cli
