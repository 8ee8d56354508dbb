#include "platform/Twips.h"

#include <cmath>

namespace platform {

int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

double toTwips(int pixels)
{
    return static_cast<double>(pixels) * TwipsPerPixel;
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace platform
