// The application object some commands need (the transfers' event loop, the program's own folder)
// and the others start without.
#pragma once

#include <optional>

#include <QCoreApplication>

namespace nx5rb::cli {

// A QCoreApplication for as long as it lives, unless the program already has one.
class CoreApplicationIfNone
{
public:
    CoreApplicationIfNone()
    {
        if (!QCoreApplication::instance())
            app_.emplace(argc_, argv_);
    }

private:
    int argc_ = 1;
    char name_[10] = "nx5rb-cli";
    char *argv_[2] = {name_, nullptr};
    std::optional<QCoreApplication> app_;
};

} // namespace nx5rb::cli
