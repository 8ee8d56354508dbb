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
    return QIcon(QStringLiteral(":/ivok2.xpm"));
}

} // namespace platform
