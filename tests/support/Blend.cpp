#include "support/Blend.h"

#include <array>
#include <limits>

namespace {

// Rounding in blending, per channel.
constexpr int Tolerance = 3;

std::array<int, 3> channels(QColor color)
{
    return {color.red(), color.green(), color.blue()};
}

} // namespace

double blendReached(const QImage &image, QColor ground, QColor ink)
{
    const std::array<int, 3> from = channels(ground);
    const std::array<int, 3> to = channels(ink);
    double reached = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::array<int, 3> pixel = channels(image.pixelColor(x, y));
            double least = std::numeric_limits<double>::max();
            for (size_t c = 0; c < 3; ++c) {
                if (pixel[c] < qMin(from[c], to[c]) - Tolerance || pixel[c] > qMax(from[c], to[c]) + Tolerance)
                    return -1;
                if (qAbs(to[c] - from[c]) > 2 * Tolerance)
                    least = qMin(least, double(pixel[c] - from[c]) / (to[c] - from[c]));
            }
            if (least != std::numeric_limits<double>::max())
                reached = qMax(reached, least);
        }
    return reached;
}
