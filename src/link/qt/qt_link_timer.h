// A window timer of the link on QTimer.
#pragma once

#include "link/serial_port.h"

#include <QObject>
#include <QTimer>

namespace nx5rb {

class QtLinkTimer final : public QObject, public LinkTimer
{
    Q_OBJECT

public:
    explicit QtLinkTimer(QObject *parent = nullptr)
        : QObject(parent)
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (OnTimer)
                OnTimer();
        });
    }

    void SetInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    void SetEnabled(bool enabled) override
    {
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    }
    bool Enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace nx5rb
