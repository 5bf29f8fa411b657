// nx5rb-chart: draws a band's calibration chart into a picture, offscreen. `nx5rb-cli chart` runs
// it with its own arguments, so that nx5rb-cli needs no widget or chart library; it takes the
// same arguments and gives the same exit statuses.
#include "chart/calibration_chart.h"
#include "cli/arguments.h"
#include "cli/chart_cli.h"
#include "cli/open_for_command.h"
#include "editors/tune_chart_model.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QTemporaryDir>

namespace nx5rb::cli {
namespace {

std::string ChartProgramHelp()
{
    std::string help = HelpText(kChartSyntax);
    const std::string command = "nx5rb-cli chart";
    for (std::size_t at = help.find(command); at != std::string::npos; at = help.find(command, at))
        help.replace(at, command.size(), kChartProgram);
    return help;
}

// The format the output's extension names, in the writer's own spelling; empty when no writer
// of this Qt knows it.
QByteArray FormatOf(const std::string &output)
{
    const QByteArray suffix
        = QFileInfo(QString::fromStdString(output)).suffix().toLower().toLatin1();
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

std::string KnownFormats()
{
    std::string known;
    for (const QByteArray &format : QImageWriter::supportedImageFormats())
        known += (known.empty() ? "" : ", ") + format.toStdString();
    return known;
}

int Draw(const ChartRequest &request, std::ostream &err)
{
    const QByteArray format = FormatOf(request.output);
    if (format.isEmpty()) {
        err << "nx5rb-cli: chart: " << request.output
            << ": the extension names no picture format this program writes (" << KnownFormats()
            << ")\n";
        return kExitUsage;
    }
    const auto document = OpenForCommand(request.file, err);
    if (!document)
        return kExitFailure;
    std::optional<DecodedDocument> other;
    if (!request.compareFile.empty()) {
        other = OpenForCommand(request.compareFile, err);
        if (!other)
            return kExitFailure;
    }

    const TuneChartModel model = TuneChartModelOf(*document, request.band);
    std::optional<TuneChartModel> compare;
    if (other)
        compare = TuneChartModelOf(*other, request.band);
    const QImage image = RenderCalibrationChart(
        model, compare ? &*compare : nullptr, QString::fromStdString(request.file),
        QString::fromStdString(request.compareFile), request.size);

    QSaveFile target(QString::fromStdString(request.output));
    if (!target.open(QIODevice::WriteOnly) || !image.save(&target, format.constData())
        || !target.flush() || !target.commit()) {
        const QString reason = target.error() != QFileDevice::NoError
            ? target.errorString()
            : "cannot write a " + QString::fromLatin1(format.toUpper()) + " picture";
        err << "nx5rb-cli: " << request.output << ": " << reason.toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace
} // namespace nx5rb::cli

int main(int argc, char **argv)
{
    using namespace nx5rb::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string help = ChartProgramHelp();
    for (const std::string &arg : args)
        if (arg == "--help" || arg == "-h") {
            std::cout << help;
            return kExitOk;
        }
    const auto request = ParseChartRequest(args, std::cerr, help);
    if (!request)
        return kExitUsage;

    // Qt wants a private runtime folder and warns on standard error when the session has none
    // (a root shell, a cron job, ssh without a login session): give it one for this run.
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        if (runtime->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    // Drawing needs a widget application but no screen. Offscreen keeps the picture the same on
    // every machine (no display's resolution or scaling), so it is the default even where a
    // display is set.
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    std::vector<char *> qtArgs = {argv[0]};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qtArgs.push_back(platformOption);
        qtArgs.push_back(platform);
    }
    int qtArgc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    const QApplication application(qtArgc, qtArgs.data());
    return Draw(*request, std::cerr);
}
