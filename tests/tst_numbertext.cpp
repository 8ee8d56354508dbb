#include "platform/NumberText.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr qint64 Saturated = std::numeric_limits<qint64>::max();
} // namespace

class tst_NumberText : public QObject
{
    Q_OBJECT

private slots:
    void readDecimal_data();
    void readDecimal();
    void wholeInRange_data();
    void wholeInRange();
    void readHex_data();
    void readHex();
    void timeText_data();
    void timeText();
};

void tst_NumberText::readDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("listed 0.3 is the nearest double") << "0.3" << 0.3;
    QTest::newRow("trailing text") << "2.5秒" << 2.5;
    QTest::newRow("blank inside") << "1 .5" << 1.5;
    QTest::newRow("tabs and line feeds anywhere") << "\t1\n2 3" << 123.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("ideographic space is a blank") << "1\u30002" << 12.0;
    QTest::newRow("full-width digits") << "１５" << 15.0;
    QTest::newRow("full-width time with unit") << "２．５秒" << 2.5;
    QTest::newRow("full-width sign and exponent") << "－１Ｅ＋２" << -100.0;
    QTest::newRow("full-width hex prefix") << "＆ｈ１Ｆ" << 31.0;
    QTest::newRow("full-width comma is no separator") << "１，５" << 1.0;
    QTest::newRow("ideographic full stop is no separator") << "1。5" << 1.0;
    QTest::newRow("other digits are not read") << "١٢" << 0.0;
    QTest::newRow("comma is no separator") << "1,5" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("minus sign") << "-2.5" << -2.5;
    QTest::newRow("blank after sign") << "- 4" << -4.0;
    QTest::newRow("two signs") << "--1" << 0.0;
    QTest::newRow("no whole digits") << ".5" << 0.5;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("exponent upper with sign") << "2.5E-1" << 0.25;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("D is no exponent") << "1D2" << 1.0;
    QTest::newRow("overflow") << "1e400" << Inf;
    QTest::newRow("negative overflow") << "-9e99999999999999999999" << -Inf;
    QTest::newRow("many digits overflow") << QString(400, u'9') << Inf;
    QTest::newRow("underflow") << "1e-400" << 0.0;
    QTest::newRow("tiny fraction, large exponent") << "0.000001e10" << 10000.0;
    QTest::newRow("hex is never negative") << "&HFFFF" << 65535.0;
    QTest::newRow("hex stops at point") << "&H1F.5" << 31.0;
    QTest::newRow("hex with blank") << "& H 10" << 16.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("octal stops at 8") << "&o178" << 15.0;
    QTest::newRow("sign before prefix") << "-&H10" << 0.0;
    QTest::newRow("other ampersand") << "&17" << 0.0;
}

void tst_NumberText::readDecimal()
{
    QFETCH(QString, text);
    QFETCH(double, expected);

    const double actual = platform::readDecimal(text);
    // Exact: the dialog selects list items by exact comparison.
    QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 read as %2").arg(text).arg(actual, 0, 'g', 17)));
}

void tst_NumberText::wholeInRange_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("expected");

    QTest::newRow("below") << 3.0 << 5 << 100 << 5;
    QTest::newRow("above") << 150.0 << 5 << 100 << 100;
    QTest::newRow("half down to even") << 20.5 << 5 << 100 << 20;
    QTest::newRow("half up to even") << 21.5 << 5 << 100 << 22;
    QTest::newRow("half below low bound rounds to it") << 4.5 << 5 << 100 << 5;
    QTest::newRow("beyond 16 bits") << 99999.0 << 5 << 100 << 100;
    QTest::newRow("beyond 16 bits negative") << -99999.0 << 5 << 100 << 5;
    QTest::newRow("rounds past 16 bits") << 32767.5 << 5 << 100 << 100;
    QTest::newRow("huge") << 1e300 << 5 << 100 << 100;
    QTest::newRow("infinity") << Inf << 5 << 100 << 100;
    QTest::newRow("negative infinity") << -Inf << 5 << 100 << 5;
    QTest::newRow("nan") << std::nan("") << 5 << 100 << 5;
}

void tst_NumberText::wholeInRange()
{
    QFETCH(double, value);
    QFETCH(int, low);
    QFETCH(int, high);
    QTEST(int(platform::wholeInRange(value, qint16(low), qint16(high))), "expected");
}

void tst_NumberText::readHex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<qint32>("color");

    QTest::newRow("lower case") << "ff" << qint64(255) << 0xFF;
    QTest::newRow("blue") << "FF0000" << qint64(0xFF0000) << 0xFF0000;
    QTest::newRow("four digits stay positive") << "FFFF" << qint64(65535) << 0xFFFF;
    QTest::newRow("empty") << "" << qint64(0) << 0;
    QTest::newRow("prefix") << "&HFF" << qint64(0) << 0;
    QTest::newRow("stops at non-digit") << "12G4" << qint64(0x12) << 0x12;
    QTest::newRow("not a hex digit first") << "G1" << qint64(0) << 0;
    QTest::newRow("minus is no digit") << "-1" << qint64(0) << 0;
    QTest::newRow("blanks anywhere") << " F\tF\n" << qint64(255) << 0xFF;
    QTest::newRow("full-width upper case") << "ＦＦ" << qint64(255) << 0xFF;
    QTest::newRow("full-width lower case, ideographic space") << "ｆ\u3000ｆ" << qint64(255) << 0xFF;
    QTest::newRow("full-width G stops") << "１２Ｇ４" << qint64(0x12) << 0x12;
    QTest::newRow("above colour range") << "1000000" << qint64(0x1000000) << 0xFFFFFF;
    QTest::newRow("largest positive") << "7FFFFFFF" << qint64(0x7FFFFFFF) << 0xFFFFFF;
    QTest::newRow("all ones is -1") << "FFFFFFFF" << qint64(-1) << 0;
    QTest::newRow("high bit is negative") << "80000000" << qint64(-0x7FFFFFFF - 1) << 0;
    QTest::newRow("leading zeros beyond eight") << "00000000FF" << qint64(255) << 0xFF;
    QTest::newRow("leading zero then eight digits") << "0FFFFFFFF" << qint64(-1) << 0;
    QTest::newRow("nine digits") << "123456789" << qint64(0x123456789) << 0xFFFFFF;
    QTest::newRow("twenty digits") << QString(20, u'F') << Saturated << 0xFFFFFF;
}

void tst_NumberText::readHex()
{
    QFETCH(QString, text);
    QTEST(platform::readHex(text), "value");
    QTEST(platform::colorInRange(platform::readHex(text)), "color");
}

void tst_NumberText::timeText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("readsBackExactly");

    QTest::newRow("quarter") << 0.25 << "0.25" << true;
    QTest::newRow("0.3") << 0.3 << "0.3" << true;
    QTest::newRow("fifteen digits") << 1.23456789012345 << "1.23456789012345" << true;
    QTest::newRow("sixteenth digit dropped") << 0.1 + 0.2 << "0.3" << false;
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333" << false;
    QTest::newRow("large") << 1e20 << "1E+20" << true;
    QTest::newRow("small") << 1e-5 << "1E-05" << true;
}

void tst_NumberText::timeText()
{
    QFETCH(double, seconds);
    QTEST(platform::timeText(seconds), "expected");
    QTEST(platform::readDecimal(platform::timeText(seconds)) == seconds, "readsBackExactly");
}

QTEST_APPLESS_MAIN(tst_NumberText)
#include "tst_numbertext.moc"
