#include "platform/ProgramIcon.h"

// Resources linked from a static library are not registered until asked for.
static void registerResources()
{
    Q_INIT_RESOURCE(ivok2);
}

namespace platform {

QIcon programIcon()
{
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/ivok2-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace platform
