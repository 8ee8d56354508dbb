#include "core/ColourVision.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, applied to linear RGB.
constexpr Matrix Protanopia{{
    {0.152286, 1.052583, -0.204868},
    {0.114503, 0.786281, 0.099216},
    {-0.003882, -0.048116, 1.051998},
}};
constexpr Matrix Deuteranopia{{
    {0.367322, 0.860646, -0.227968},
    {0.280085, 0.672501, 0.047413},
    {-0.011820, 0.042940, 0.968881},
}};
constexpr Matrix Tritanopia{{
    {1.255528, -0.076749, -0.178779},
    {-0.078411, 0.930809, 0.147602},
    {0.004733, 0.691367, 0.303900},
}};

// sRGB primaries to XYZ, and the D65 white they share.
constexpr Matrix RgbToXyz{{
    {0.4124564, 0.3575761, 0.1804375},
    {0.2126729, 0.7151522, 0.0721750},
    {0.0193339, 0.1191920, 0.9503041},
}};
constexpr double WhiteX = 0.95047;
constexpr double WhiteY = 1.0;
constexpr double WhiteZ = 1.08883;

LinearRgb apply(const Matrix &m, const LinearRgb &c)
{
    // A simulated colour may leave the gamut; the screen could not show more than it has.
    auto clip = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return {clip(m[0][0] * c.r + m[0][1] * c.g + m[0][2] * c.b),
            clip(m[1][0] * c.r + m[1][1] * c.g + m[1][2] * c.b),
            clip(m[2][0] * c.r + m[2][1] * c.g + m[2][2] * c.b)};
}

double labCurve(double t)
{
    constexpr double delta = 6.0 / 29.0;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29.0;
}

constexpr double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

constexpr double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// Hue angle in degrees, 0 to 360; a neutral colour has hue 0.
double hue(double a, double b)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
}

} // namespace

double linearChannel(int value)
{
    const double v = value / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

LinearRgb toLinear(quint32 color)
{
    return {linearChannel(int(color & 0xFF)), linearChannel(int((color >> 8) & 0xFF)),
            linearChannel(int((color >> 16) & 0xFF))};
}

double relativeLuminance(quint32 color)
{
    const LinearRgb c = toLinear(color);
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

double contrastRatio(quint32 first, quint32 second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

quint32 readableBacking(quint32 mark, quint32 background)
{
    if (contrastRatio(mark, background) >= ReadableContrast)
        return background;
    constexpr quint32 black = 0x000000;
    constexpr quint32 white = 0xFFFFFF;
    return contrastRatio(mark, black) >= contrastRatio(mark, white) ? black : white;
}

LinearRgb simulate(const LinearRgb &color, Vision vision)
{
    switch (vision) {
    case Vision::Protanopia:
        return apply(Protanopia, color);
    case Vision::Deuteranopia:
        return apply(Deuteranopia, color);
    case Vision::Tritanopia:
        return apply(Tritanopia, color);
    case Vision::Normal:
        break;
    }
    return color;
}

Lab toLab(const LinearRgb &c)
{
    const auto &m = RgbToXyz;
    const double fx = labCurve((m[0][0] * c.r + m[0][1] * c.g + m[0][2] * c.b) / WhiteX);
    const double fy = labCurve((m[1][0] * c.r + m[1][1] * c.g + m[1][2] * c.b) / WhiteY);
    const double fz = labCurve((m[2][0] * c.r + m[2][1] * c.g + m[2][2] * c.b) / WhiteZ);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Sharma, Wu and Dalal (2005), with kL = kC = kH = 1.
double ciede2000(const Lab &first, const Lab &second)
{
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double meanC7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    const double hp1 = hue(a1, first.b);
    const double hp2 = hue(a2, second.b);

    const double dL = second.L - first.L;
    const double dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = hp2 - hp1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));

    const double meanL = (first.L + second.L) / 2;
    const double meanC = (cp1 + cp2) / 2;
    double meanH = hp1 + hp2;
    if (cp1 * cp2 != 0) {
        if (std::abs(hp1 - hp2) <= 180)
            meanH /= 2;
        else
            meanH = meanH < 360 ? (meanH + 360) / 2 : (meanH - 360) / 2;
    }

    const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH))
                     + 0.32 * std::cos(radians(3 * meanH + 6)) - 0.20 * std::cos(radians(4 * meanH - 63));
    const double dTheta = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
    const double meanC7p = std::pow(meanC, 7);
    const double rc = 2 * std::sqrt(meanC7p / (meanC7p + std::pow(25.0, 7)));
    const double l50 = (meanL - 50) * (meanL - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * meanC;
    const double sh = 1 + 0.015 * meanC * t;
    const double rt = -std::sin(radians(2 * dTheta)) * rc;

    const double l = dL / sl;
    const double c = dC / sc;
    const double h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

double seenDifference(quint32 first, quint32 second, Vision vision)
{
    return ciede2000(toLab(simulate(toLinear(first), vision)), toLab(simulate(toLinear(second), vision)));
}
