// nx5rb: the tuning and programming window.
#include "app/port_select.h"
#include "app/texts.h"
#include "app/version.h"
#include "gui/app_icon.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/translations.h"

#include <cstdio>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {

// With NX5RB_QUIT_AFTER_PAINT set the window closes right after its first paint, so that the
// start-up benchmark can time a whole run from process start to a painted window.
class QuitAfterPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The backups go to the user's data folder of this name (~/.local/share/nx5rb/backups).
    QApplication::setApplicationName("nx5rb");
    QApplication::setApplicationDisplayName(nx5rb::Q(nx5rb::texts::kAppTitle));
    QApplication::setApplicationVersion(nx5rb::Q(nx5rb::VersionText()));
    QApplication::setWindowIcon(nx5rb::AppIcon());
    // The task bar finds the icon and the name through the installed desktop entry.
    QGuiApplication::setDesktopFileName("nx5rb");
    nx5rb::InstallQtTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Tuning and programming window for a tri-band handheld radio. Reads and writes the "
        "radio's memory over a serial port, or over the built-in virtual radio.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        {"p", "port"},
        "Start with this port: COM1..COM4, a device path, or \"virtual\" (default: the port of the "
        "last run).",
        "PORT");
    parser.addOption(portOption);
    const QCommandLineOption traceOption(
        {"t", "trace"},
        "Write every byte sent to and received from the radio to FILE, one frame per line with "
        "a time stamp (for a bug report; nx5rb-sim --replay FILE answers from it).",
        "FILE");
    parser.addOption(traceOption);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "nx5rb: unexpected argument %s\n\n%s",
                     qPrintable(parser.positionalArguments().front()),
                     qPrintable(parser.helpText()));
        return 2;
    }

    nx5rb::WindowSetup setup;
    if (parser.isSet(portOption)) {
        const auto parsed = nx5rb::ParsePortArgument(parser.value(portOption).toStdString());
        if (!parsed) {
            std::fprintf(stderr, "nx5rb: --port needs a value\n");
            return 2;
        }
        setup.port = *parsed;
    }
    setup.tracePath = parser.value(traceOption).toStdString();

    nx5rb::MainWindow window(setup);
    QuitAfterPaint quitAfterPaint;
    if (qEnvironmentVariableIsSet("NX5RB_QUIT_AFTER_PAINT"))
        window.installEventFilter(&quitAfterPaint);
    window.show();
    return app.exec();
}
