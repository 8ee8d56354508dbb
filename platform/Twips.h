#pragma once

#include <QRect>

namespace platform {

// Layout is given in twips; Qt works in device-independent pixels and scales
// those for high-DPI screens itself.
inline constexpr int TwipsPerPixel = 15;

int toPixels(double twips);
double toTwips(int pixels);
QRect twipsRect(double left, double top, double width, double height);

} // namespace platform
