#include "link/qt/qt_event_pump.h"

#include <QEventLoop>
#include <QTimer>

namespace nx5rb {

namespace {
constexpr int kCheckMs = 5;
}

void QtEventPump::WaitWhile(const std::function<bool()> &busy)
{
    if (!busy())
        return;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (!busy())
            loop.quit();
    });
    check.start(kCheckMs);
    loop.exec();
}

void QtEventPump::PauseInput(int milliseconds)
{
    if (!pauses_)
        return;
    // The window keeps painting but takes no clicks or keys meanwhile.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace nx5rb
