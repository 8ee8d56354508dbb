// The lenient readers of the options dialog over any text, and the writers' output read back.
// Input: a double, a colour, a whole number, a 16-bit range, a blank spacing, then the text.

#include "platform/NumberText.h"
#include "platform/Numbers.h"

#include "FuzzInput.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace {

// Blanks, tabs and line feeds put before every step-th character: the readers must not notice them.
QString withBlanks(const QString &text, int step)
{
    static constexpr char16_t Blanks[] = {u' ', u'\t', u'\n'};
    QString spaced;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i % step == 0)
            spaced.append(QChar(Blanks[(i / step) % 3]));
        spaced.append(text[i]);
    }
    return spaced;
}

// The text as typed with the Japanese input method on: printable ASCII and the space in full width.
QString fullWidth(const QString &text)
{
    QString wide = text;
    for (QChar &c : wide) {
        if (c == u' ')
            c = u'\u3000';
        else if (c > u' ' && c < u'\x7F')
            c = QChar(char16_t(c.unicode() + 0xFEE0));
    }
    return wide;
}

void checkDecimal(const QString &text, const QString &spaced, qint16 low, qint16 high)
{
    const double value = platform::readDecimal(text);
    require(!std::isnan(value), "decimal reader never gives NaN");
    require(platform::readDecimal(spaced) == value, "decimal reader ignores blanks");
    require(platform::readDecimal(fullWidth(text)) == value, "decimal reader reads full-width forms as ASCII");

    const qint16 whole = platform::wholeInRange(value, low, high);
    require(whole >= low && whole <= high, "whole number forced into its range");
    if (value >= low && value <= high)
        require(std::fabs(whole - value) <= 0.5, "whole number in range is the nearest one");
}

void checkHex(const QString &text, const QString &spaced)
{
    const qint64 value = platform::readHex(text);
    require(value >= INT32_MIN, "hex reader gives nothing below 32-bit two's complement");
    require(platform::readHex(spaced) == value, "hex reader ignores blanks");
    require(platform::readHex(fullWidth(text)) == value, "hex reader reads full-width forms as ASCII");
    require(platform::readHex(QStringLiteral("0") + text) == value, "hex reader ignores leading zeros");
    const qint32 color = platform::colorInRange(value);
    require(color >= 0 && color <= platform::MaxColor, "colour forced into 0..MaxColor");
}

// The largest doubles round up to fifteen digits beyond the largest double, which read as an infinity.
bool timeWritableExactly(double seconds)
{
    constexpr double Largest15Digits = 1.79769313486231e308;
    return std::fabs(seconds) <= Largest15Digits;
}

void checkTimeRoundTrip(double seconds)
{
    if (!timeWritableExactly(seconds))
        return;
    const QString text = platform::timeText(seconds);
    const double read = platform::readDecimal(text);
    require(platform::timeText(read) == text, "a written time reads back as the same text");
    require(std::fabs(read - seconds) <= std::fabs(seconds) * 1e-14, "a written time reads back as its value");
}

void checkColorRoundTrip(qint32 color)
{
    require(platform::readHex(platform::colorText(color)) == color, "a written colour reads back as its value");
}

void checkWholeRoundTrip(qint64 number, qint16 low, qint16 high)
{
    const double read = platform::readDecimal(platform::numberText(number));
    require(platform::wholeInRange(read, low, high) == std::clamp<qint64>(number, low, high),
            "a written whole number reads back forced into its range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const double seconds = input.take<double>();
    const qint32 color = input.take<qint32>();
    const qint64 number = input.take<qint64>();
    const qint16 bound1 = input.take<qint16>();
    const qint16 bound2 = input.take<qint16>();
    const int step = input.take<quint8>() % 8 + 1;
    const QString text = QString::fromUtf8(input.rest());

    const qint16 low = std::min(bound1, bound2);
    const qint16 high = std::max(bound1, bound2);
    const QString spaced = withBlanks(text, step);
    checkDecimal(text, spaced, low, high);
    checkHex(text, spaced);
    checkTimeRoundTrip(seconds);
    checkColorRoundTrip(color);
    checkWholeRoundTrip(number, low, high);
    return 0;
}
