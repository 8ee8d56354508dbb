#include "platform/Colors.h"
#include "platform/Numbers.h"
#include "platform/Random.h"
#include "platform/Twips.h"
#include "support/Fakes.h"

#include <QPalette>
#include <QTest>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void colours_data();
    void colours();
    void systemColoursFollowThePalette();
    void twips_data();
    void twips();
    void roundingTiesToEven_data();
    void roundingTiesToEven();
    void drawsStayBelowOne();
    void unseededSequenceRepeats();
    void reseedUsesTheClockAtFullResolution();
};

void TestPlatform::colours_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("red") << 0x000000FFu << QColor(255, 0, 0);
    QTest::newRow("blue") << 0x00FF0000u << QColor(0, 0, 255);
    QTest::newRow("light red mark") << 0x00C0C0FFu << QColor(255, 192, 192);
    QTest::newRow("high byte ignored") << 0x12345678u << QColor(0x78, 0x56, 0x34);
    QTest::newRow("unknown system index") << 0x800000FFu << QColor(0xFF, 0, 0);
    QTest::newRow("all bits") << 0xFFFFFFFFu << QColor(255, 255, 255);
}

void TestPlatform::colours()
{
    QFETCH(quint32, value);
    QTEST(platform::toQColor(value, QPalette()), "expected");
}

void TestPlatform::systemColoursFollowThePalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    QCOMPARE(platform::toQColor(platform::ButtonFace, palette), QColor(1, 2, 3));
    QCOMPARE(platform::toQColor(0x80000012u, palette), QColor(4, 5, 6));
}

void TestPlatform::twips_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("design width") << 8595.0 << 573;
    QTest::newRow("rounds to nearest") << 5654.0 << 377;
    QTest::newRow("zero") << 0.0 << 0;
}

void TestPlatform::twips()
{
    QFETCH(double, twips);
    QFETCH(int, pixels);
    QCOMPARE(platform::toPixels(twips), pixels);
    QCOMPARE(platform::toTwips(pixels), pixels * 15.0);
}

void TestPlatform::roundingTiesToEven_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("shortest") << 0.1 << 100;
    QTest::newRow("longest") << 10.0 << 10000;
    QTest::newRow("half down to even") << 0.0125 << 12;
    QTest::newRow("half up to even") << 0.0135 << 14;
    QTest::newRow("above half") << 0.25051 << 251;
}

void TestPlatform::roundingTiesToEven()
{
    QFETCH(double, seconds);
    QTEST(platform::intervalMs(seconds), "milliseconds");
    QCOMPARE(platform::roundHalfEven(-2.5), -2.0);
}

void TestPlatform::drawsStayBelowOne()
{
    platform::Rng rng(nullptr);
    float smallest = 1, largest = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = rng.next();
        smallest = std::min(smallest, r);
        largest = std::max(largest, r);
        QVERIFY(r >= 0.0f && r < 1.0f);
        QVERIFY(platform::drawIndex(rng, 21) < 21);
    }
    QVERIFY(smallest < 0.001f);
    QVERIFY(largest > 0.999f);
}

void TestPlatform::unseededSequenceRepeats()
{
    platform::Rng first(nullptr);
    platform::Rng second(nullptr);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(first.next(), second.next());
}

void TestPlatform::reseedUsesTheClockAtFullResolution()
{
    FakeClock clock;
    platform::Rng a(&clock);
    platform::Rng b(&clock);
    clock.now = 43200.000001;
    a.reseedFromTimeOfDay();
    clock.now = 43200.000002;
    b.reseedFromTimeOfDay();
    QVERIFY(a.state() != b.state());
    QVERIFY(a.next() != b.next());

    platform::Rng c(&clock);
    platform::Rng d(&clock);
    c.reseedFromTimeOfDay();
    d.reseedFromTimeOfDay();
    QCOMPARE(c.next(), d.next());
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
