#include "platform/NumberText.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace platform {

namespace {

// Far beyond any exponent a double can take, small enough to add to without overflow.
constexpr int ExponentCap = 100000;
constexpr int ExactHexDigits = 15;
constexpr int Hex32Digits = 8;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// With the Japanese input method on, digits, letters, signs and the space arrive in their
// full-width forms; they mean what their ASCII forms mean.
QChar narrowed(QChar c)
{
    constexpr char16_t FullWidthFirst = u'\uFF01';
    constexpr char16_t FullWidthLast = u'\uFF5E';
    constexpr char16_t FullWidthOffset = FullWidthFirst - u'!';
    if (c == u'\u3000')
        return u' ';
    if (c >= FullWidthFirst && c <= FullWidthLast)
        return QChar(char16_t(c.unicode() - FullWidthOffset));
    return c;
}

// The text as the readers see it: full-width forms narrowed, blanks dropped.
QString withoutBlanks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        const QChar narrow = narrowed(c);
        if (!isBlank(narrow))
            result.append(narrow);
    }
    return result;
}

// ASCII only: callers narrow full-width forms first; other Unicode digits are not part of a number.
int digitValue(QChar c, int radix)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < radix ? value : -1;
}

bool isDigit(QStringView text, qsizetype pos)
{
    return pos < text.size() && digitValue(text[pos], 10) >= 0;
}

double readWholeInRadix(QStringView text, int radix)
{
    double value = 0;
    for (QChar c : text) {
        const int digit = digitValue(c, radix);
        if (digit < 0)
            break;
        value = value * radix + digit;
    }
    return value;
}

// The decimal number at the start of text, sign excluded, split into what from_chars
// takes and what decides the direction of an out-of-range result.
struct DecimalParts
{
    std::string ascii;
    int magnitudeExponent = 0; // the power of ten of the leading significant digit, roughly
    bool hasDigits = false;
};

qsizetype appendDigits(QStringView text, qsizetype pos, std::string &ascii)
{
    while (isDigit(text, pos))
        ascii += char(text[pos++].unicode());
    return pos;
}

int readExponent(QStringView text, qsizetype &pos, std::string &ascii)
{
    if (pos >= text.size() || (text[pos] != u'E' && text[pos] != u'e'))
        return 0;
    qsizetype next = pos + 1;
    bool negative = false;
    if (next < text.size() && (text[next] == u'+' || text[next] == u'-'))
        negative = text[next++] == u'-';
    if (!isDigit(text, next))
        return 0;

    int exponent = 0;
    ascii += negative ? "e-" : "e";
    for (; isDigit(text, next); ++next) {
        ascii += char(text[next].unicode());
        exponent = std::min(exponent * 10 + digitValue(text[next], 10), ExponentCap);
    }
    pos = next;
    return negative ? -exponent : exponent;
}

DecimalParts decimalParts(QStringView text)
{
    DecimalParts parts;
    qsizetype pos = appendDigits(text, 0, parts.ascii);
    const qsizetype wholeDigits = pos;
    if (pos < text.size() && text[pos] == u'.') {
        parts.ascii += '.';
        pos = appendDigits(text, pos + 1, parts.ascii);
    }
    const qsizetype fractionDigits = pos - wholeDigits - (pos > wholeDigits ? 1 : 0);
    parts.hasDigits = wholeDigits + fractionDigits > 0;
    if (!parts.hasDigits)
        return parts;

    const auto firstSignificant = parts.ascii.find_first_not_of("0.");
    if (firstSignificant != std::string::npos) {
        parts.magnitudeExponent = firstSignificant < size_t(wholeDigits)
                                      ? int(std::min<qsizetype>(wholeDigits - qsizetype(firstSignificant), ExponentCap))
                                      : -int(std::min<qsizetype>(qsizetype(firstSignificant) - wholeDigits, ExponentCap));
    }
    parts.magnitudeExponent += readExponent(text, pos, parts.ascii);
    return parts;
}

double readDecimalMagnitude(QStringView text)
{
    const DecimalParts parts = decimalParts(text);
    if (!parts.hasDigits)
        return 0;
    double value = 0;
    const char *begin = parts.ascii.data();
    const auto result = std::from_chars(begin, begin + parts.ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return parts.magnitudeExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

} // namespace

double readDecimal(const QString &text)
{
    const QString compact = withoutBlanks(text);
    QStringView rest(compact);
    if (rest.startsWith(u"&H", Qt::CaseInsensitive))
        return readWholeInRadix(rest.sliced(2), 16);
    if (rest.startsWith(u"&O", Qt::CaseInsensitive))
        return readWholeInRadix(rest.sliced(2), 8);

    bool negative = false;
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        negative = rest.front() == u'-';
        rest = rest.sliced(1);
    }
    const double magnitude = readDecimalMagnitude(rest);
    return negative ? -magnitude : magnitude;
}

qint16 wholeInRange(double value, qint16 low, qint16 high)
{
    if (std::isnan(value))
        return low;
    const double rounded = roundHalfEven(value);
    return static_cast<qint16>(std::clamp(rounded, double(low), double(high)));
}

qint64 readHex(const QString &text)
{
    quint64 value = 0;
    int significant = 0;
    for (QChar c : withoutBlanks(text)) {
        const int digit = digitValue(c, 16);
        if (digit < 0)
            break;
        if (significant == 0 && digit == 0)
            continue;
        ++significant;
        if (significant <= ExactHexDigits)
            value = value * 16 + quint64(digit);
    }
    if (significant > ExactHexDigits)
        return std::numeric_limits<qint64>::max();
    if (significant > Hex32Digits)
        return qint64(value);
    return qint32(quint32(value));
}

qint32 colorInRange(qint64 value)
{
    return qint32(std::clamp<qint64>(value, 0, MaxColor));
}

QString timeText(double seconds)
{
    // Upper case keeps an exponent in the form the reader and the player expect: 1E+20.
    return QString::number(seconds, 'g', 15).toUpper();
}

QString colorText(qint32 color)
{
    return QString::number(quint32(color), 16).toUpper();
}

} // namespace platform
