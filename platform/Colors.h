#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

namespace platform {

// Colours are 0x00BBGGRR, or SystemColorFlag + index for a colour of the desktop theme.
inline constexpr quint32 SystemColorFlag = 0x80000000u;
inline constexpr quint32 ButtonFace = SystemColorFlag + 15;

// Any 32-bit value maps to a colour: a known system index to the theme's colour,
// everything else to its low 24 bits.
QColor toQColor(quint32 value, const QPalette &palette);
QColor toQColor(quint32 value);
// The 0x00BBGGRR value of a colour on screen.
quint32 colorValue(const QColor &color);

} // namespace platform
