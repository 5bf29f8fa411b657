// Takes a picture of every page of the window, as a user sees it after reading everything from
// the virtual radio. Used to keep the README's screenshots current.
#include "app/port_select.h"
#include "chart/calibration_chart.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/tune_table_page.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

// Confirmations are answered OK; nothing else is expected while the pictures are taken.
class AnswerOk final : public nx5rb::Prompt
{
public:
    nx5rb::PromptAnswer Show(const nx5rb::PromptMessage &message) override
    {
        if (message.buttons != nx5rb::PromptButtons::OkCancel)
            std::fprintf(stderr, "message: %s\n", message.text.c_str());
        return nx5rb::PromptAnswer::Ok;
    }
};

QTreeWidgetItem *FindNode(QTreeWidget *tree, const QString &key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(folder);

    AnswerOk prompt;
    nx5rb::PortSelection port;
    port.Device = std::string(nx5rb::kVirtualPort);
    nx5rb::MainWindow window(nx5rb::WindowSetup {port, {}}, &prompt);
    window.resize(window.sizeHint());
    window.show();

    for (auto command : {nx5rb::TransferCommand::ReadAll, nx5rb::TransferCommand::ReadOption,
                         nx5rb::TransferCommand::ReadChannelInfo}) {
        window.RunCommand(command);
        nx5rb::QtEventPump().WaitWhile(
            [&] { return window.LinkLayer().LinkState() != nx5rb::LinkPhase::Idle; });
    }

    const struct
    {
        const char *key;
        const char *file;
    } pages[] = {{"FreqAreaSet", "page-freq-area.png"},
                 {"TuneA", "page-tune-a.png"},
                 {"TuneB", "page-tune-b.png"},
                 {"TuneC", "page-tune-c.png"},
                 {"PowerOnMsg", "page-power-on-message.png"},
                 {"ChannelInfo", "page-channels.png"}};
    int failures = 0;
    for (const auto &page : pages) {
        QTreeWidgetItem *node = FindNode(window.PageTree, QString::fromLatin1(page.key));
        window.PageTree->setCurrentItem(node);
        window.TreeView1_NodeClick(node);
        QApplication::processEvents();
        const QString path = folder + '/' + QString::fromLatin1(page.file);
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    // Band B's calibration chart beside its page.
    nx5rb::TuneTablePage *bandB = window.TunePages[1];
    bandB->ShowChart();
    nx5rb::CalibrationChart *chart = bandB->Chart();
    chart->resize(900, 720);
    QApplication::processEvents();
    const QString path = folder + "/chart-band-b.png";
    if (!chart->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
    } else {
        std::printf("%s\n", qPrintable(path));
    }
    return failures ? 1 : 0;
}
