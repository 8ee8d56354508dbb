#include "platform/Numbers.h"

#include <cmath>

namespace platform {

double roundHalfEven(double value)
{
    // The default floating-point rounding mode is round-to-nearest-even.
    return std::nearbyint(value);
}

qint64 floorToInt(double value)
{
    return static_cast<qint64>(std::floor(value));
}

int intervalMs(double seconds)
{
    return static_cast<int>(roundHalfEven(seconds * 1000.0));
}

QString numberText(qint64 value)
{
    return QString::number(value);
}

} // namespace platform
