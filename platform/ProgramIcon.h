#pragma once

#include <QIcon>

namespace platform {

// The program's own icon, drawn for every size the desktop asks for (16 to 256 pixels).
QIcon programIcon();

} // namespace platform
