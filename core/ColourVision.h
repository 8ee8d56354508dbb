#pragma once

#include <QtGlobal>

#include <array>

// How a colour looks and how far apart two colours look, for normal vision and for the three kinds of
// dichromacy. Colours are 0x00BBGGRR like every colour of the settings; the top byte is ignored.

// Linear-light red, green and blue, each 0 to 1.
struct LinearRgb
{
    double r = 0;
    double g = 0;
    double b = 0;
};

// CIELAB under the D65 white of sRGB.
struct Lab
{
    double L = 0;
    double a = 0;
    double b = 0;
};

enum class Vision { Normal, Protanopia, Deuteranopia, Tritanopia };
inline constexpr std::array<Vision, 4> AllVisions{Vision::Normal, Vision::Protanopia, Vision::Deuteranopia,
                                                 Vision::Tritanopia};

// Below this a mark is not reliably seen against its background.
inline constexpr double ReadableContrast = 3.0;

// One sRGB channel value 0..255 to linear light.
double linearChannel(int value);
LinearRgb toLinear(quint32 color);
// Relative luminance, 0 for black to 1 for white.
double relativeLuminance(quint32 color);
// (lighter + 0.05) / (darker + 0.05), from 1 to 21; the same either way round.
double contrastRatio(quint32 first, quint32 second);

// What to draw a mark of the given colour on: the background itself where the mark is readable there,
// otherwise black or white, whichever the mark stands out from more (at least 4.58:1 for any colour).
quint32 readableBacking(quint32 mark, quint32 background);

// The colour as a dichromat sees it, by the severity-1 matrices of Machado, Oliveira and Fernandes (2009).
LinearRgb simulate(const LinearRgb &color, Vision vision);
Lab toLab(const LinearRgb &color);
double ciede2000(const Lab &first, const Lab &second);
// CIEDE2000 between two colours as seen with the given vision.
double seenDifference(quint32 first, quint32 second, Vision vision);
