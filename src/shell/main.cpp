// nx5rb: the tuning and programming window.
#include "editors/qt_text.h"
#include "link/port_select.h"
#include "shell/main_window.h"
#include "shell/ui_text.h"

#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("nx5rb");
    QApplication::setApplicationDisplayName(nx5rb::Q(nx5rb::texts::kAppTitle));
    QApplication::setApplicationVersion(nx5rb::Q(nx5rb::texts::kVersion));
    QApplication::setWindowIcon(QIcon(":/nx5rb/icon.png"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Tuning and programming window for a tri-band handheld radio. Reads and writes the "
        "radio's memory over a serial port, or over the built-in virtual radio.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        {"p", "port"}, "Start with this port: COM1..COM4, a device path, or \"virtual\".", "PORT");
    parser.addOption(portOption);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "nx5rb: unexpected argument %s\n\n%s",
                     qPrintable(parser.positionalArguments().front()),
                     qPrintable(parser.helpText()));
        return 2;
    }

    nx5rb::PortSelection port;
    if (parser.isSet(portOption)) {
        const auto parsed = nx5rb::ParsePortArgument(parser.value(portOption).toStdString());
        if (!parsed) {
            std::fprintf(stderr, "nx5rb: --port needs a value\n");
            return 2;
        }
        port = *parsed;
    }

    nx5rb::Form1 window(port);
    window.show();
    return app.exec();
}
