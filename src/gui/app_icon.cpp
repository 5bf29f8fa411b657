#include "gui/app_icon.h"

// A static library's resources are registered only when their initialiser is called: the linker
// drops the unreferenced object that would do it at start-up. Q_INIT_RESOURCE must be used
// outside any namespace.
static void RegisterIconResource()
{
    Q_INIT_RESOURCE(nx5rb);
}

namespace nx5rb {

QIcon AppIcon()
{
    static const bool registered = (RegisterIconResource(), true);
    (void)registered;
    QIcon icon;
    for (const char *size : {"48", "128", "256"})
        icon.addFile(QString(":/nx5rb/icon-%1.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace nx5rb
