// Typing a whole power-on message by keyboard: each of the 56 keys, from the key press to the
// window having handled it (the box filled, the working copy stored, the focus on the next box
// and the page painted), timed in the window itself. Fails when the slowest key reaches the limit.
//
//   message_typing_bench [--runs N] [--limit MS]
#include "app/tool_settings.h"
#include "gui/editor_box.h"
#include "gui/main_window.h"
#include "gui/power_on_page.h"
#include "support/recording_prompt.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kMessage[] = "  EXAMPLE  TR3VER 1.02014/05www.example.cnTEL 400-000000";

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int runs = 20;
    double limitMs = 16;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--runs")
            runs = std::atoi(argv[i + 1]);
        else if (arg == "--limit")
            limitMs = std::atof(argv[i + 1]);
    }
    QStandardPaths::setTestModeEnabled(true);
    nx5rb::SaveSettings(*nx5rb::OpenSettingsStore(), nx5rb::ToolSettings {});

    nx5rb::test::RecordingPrompt prompt;
    nx5rb::PortSelection port;
    port.Device = std::string(nx5rb::kVirtualPort);
    nx5rb::MainWindow window(nx5rb::WindowSetup {port, {}}, &prompt);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowActive(&window))
        return 2;
    for (QTreeWidgetItemIterator it(window.PageTree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == QLatin1String("PowerOnMsg"))
            window.TreeView1_NodeClick(*it);

    std::vector<double> keys;
    for (int run = 0; run < runs; ++run) {
        window.FrameOptionPage->TextPowerOnMsg[0]->setFocus();
        QApplication::processEvents();
        window.FrameOptionPage->TextPowerOnMsg[0]->selectAll();
        for (const char c : std::string(kMessage)) {
            QWidget *box = QApplication::focusWidget();
            const Clock::time_point start = Clock::now();
            QTest::keyClick(box, c);
            QApplication::processEvents(); // the selection of the next box, the paint
            keys.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    std::sort(keys.begin(), keys.end());
    const double median = keys[keys.size() / 2];
    const double worst = keys.back();
    std::printf("%zu keys: median %.3f ms, 99th percentile %.3f ms, slowest %.3f ms (limit %.1f)\n",
                keys.size(), median, keys[keys.size() * 99 / 100], worst, limitMs);
    const std::string typed = [&window] {
        std::string text;
        for (nx5rb::EditorBox *box : window.FrameOptionPage->TextPowerOnMsg)
            text += box->text().toStdString();
        return text;
    }();
    if (typed != kMessage) {
        std::fprintf(stderr, "message_typing_bench: the boxes hold \"%s\"\n", typed.c_str());
        return 2;
    }
    return worst < limitMs ? 0 : 1;
}
