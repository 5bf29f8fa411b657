#include "link/qt/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

namespace nx5rb {

namespace {
// A last resort only: the loop is checked each time it has handled what was waiting.
constexpr int kCheckMs = 50;
} // namespace

void QtEventPump::WaitWhile(const std::function<bool()> &busy)
{
    if (!busy())
        return;
    QEventLoop loop;
    const auto check = [&] {
        if (!busy())
            loop.quit();
    };
    // The transfer ends inside an event (a reply, a tick, a click on 中止); the wait ends as soon
    // as the loop has nothing more to do, not at the next tick of a timer.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &loop, check);
    QTimer fallback;
    QObject::connect(&fallback, &QTimer::timeout, &loop, check);
    fallback.start(kCheckMs);
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
