#pragma once

#include "core/Limits.h"

#include <QtGlobal>

#include <array>

// Ready-made sets of the eight drawing colours, 0x00BBGGRR, that the options dialog offers.

using DrawColors = std::array<qint32, DrawColorCount>;

// The colours a fresh start draws with.
inline constexpr DrawColors BuiltInColors{
    0x00FFFFFF, // white
    0x00000000, // black
    0x000000FF, // red
    0x00FF0000, // blue
    0x0000FF00, // green
    0x0000FFFF, // yellow
    0x00FFFF00, // cyan
    0x00FF00FF, // magenta
};

// Each at least 3:1 against the light grey field, and any two at least 18 apart in CIEDE2000 for normal vision
// and under simulated protanopia, deuteranopia and tritanopia. Found by a maximin search over the sRGB cube in
// steps of 0x11 with black kept and every other colour of CIELAB lightness 30 or more, so that no two are
// near-blacks that only the formula tells apart.
inline constexpr DrawColors ReadableColors{
    0x00000000, // black
    0x000022FF, // red
    0x00669922, // green
    0x00CC0055, // violet blue
    0x00222288, // brown red
    0x00FF55BB, // light violet
    0x00554455, // dark purple grey
    0x00998888, // blue grey
};

struct ColourPreset
{
    const char *name; // translated in the options dialog's context
    DrawColors colors;
};

inline constexpr std::array<ColourPreset, 2> ColourPresets{{
    {QT_TRANSLATE_NOOP("frmOpt", "標準"), BuiltInColors},
    {QT_TRANSLATE_NOOP("frmOpt", "見やすい"), ReadableColors},
}};
