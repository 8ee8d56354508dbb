#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

// Round to nearest, ties to even: 2.5 -> 2, 3.5 -> 4.
double roundHalfEven(double value);
qint64 floorToInt(double value);

// Seconds to a timer interval in whole milliseconds.
int intervalMs(double seconds);

// Plain decimal digits, a minus sign when negative, no leading blank.
QString numberText(qint64 value);

} // namespace platform
