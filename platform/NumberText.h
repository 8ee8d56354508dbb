#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

// Lenient number reading for what the player types: never fails, never reports.
//
// Full-width digits, letters, signs and full stop (U+FF01 to U+FF5E) and the ideographic space
// read as their ASCII forms, as typed with the Japanese input method on: "２．５" is 2.5.
// Blanks, tabs and line feeds are ignored wherever they stand. Then an optional sign,
// digits, "." and digits, and an optional exponent (E or e, sign, digits) are read up to
// the first character that cannot continue the number. "." is the separator in every
// locale. A text beginning with &H or &O reads as a hexadecimal or octal whole number.
// Anything that does not begin with a number reads as 0. A value too large for a double
// reads as an infinity, never as NaN.
double readDecimal(const QString &text);

// Rounds half to even and forces the result into [low, high]. Values beyond 16 bits,
// infinities included, land on the nearer bound; NaN lands on low.
qint16 wholeInRange(double value, qint16 low, qint16 high);

// The hexadecimal digits at the start of text (blanks ignored, full-width forms read as ASCII,
// no prefix accepted).
// Up to eight significant digits form a 32-bit two's-complement number, so 80000000 is
// negative. More significant digits do not fit 32 bits and read as their positive
// magnitude, saturated at the largest qint64, so that a range check treats them as too large.
qint64 readHex(const QString &text);

// The largest colour value 0x00BBGGRR; larger values would name system colours.
inline constexpr qint32 MaxColor = 0x00FFFFFF;

// A colour entry forced into 0 to MaxColor.
qint32 colorInRange(qint64 value);

// At most 15 significant digits, "." as separator, no trailing zeros: 0.25 -> "0.25", 4 -> "4".
QString timeText(double seconds);

// Upper-case hexadecimal without leading zeros; a negative value as its eight-digit two's complement.
QString colorText(qint32 color);

} // namespace platform
