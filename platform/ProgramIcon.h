#pragma once

#include <QIcon>

namespace platform {

// The program's own 32 x 32 icon.
QIcon programIcon();

} // namespace platform
