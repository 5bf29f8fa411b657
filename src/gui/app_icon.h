// The program's icon, from the resource compiled into this library.
#pragma once

#include <QIcon>

namespace nx5rb {

// The icon at every size it is drawn in (48, 128 and 256 pixels).
QIcon AppIcon();

} // namespace nx5rb
