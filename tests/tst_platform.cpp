#include "platform/Colors.h"
#include "platform/Clock.h"
#include "platform/Numbers.h"
#include "platform/PictureTimer.h"
#include "platform/Random.h"
#include "platform/Twips.h"
#include "support/Fakes.h"

#include <QEventLoop>
#include <QPalette>
#include <QSocketNotifier>
#include <QTest>

#include <algorithm>
#include <vector>

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
    void pictureTimerWakesAtItsDeadline_data();
    void pictureTimerWakesAtItsDeadline();
    void disarmedPictureTimerWakesNothing();
};

namespace {

// Counts the wake-ups the picture timer's timerfd delivers.
class WakeCounter final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::SockAct)
            ++wakeUps;
        return QObject::eventFilter(watched, event);
    }
    int wakeUps = 0;
};

} // namespace

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

void TestPlatform::pictureTimerWakesAtItsDeadline_data()
{
    // Deadlines a fraction of a millisecond past a whole one: the QTimer, rounding to the nearest, fires early.
    QTest::addColumn<double>("firstMs");
    QTest::addColumn<double>("armedAgainMs"); // re-armed at once for this deadline instead; 0: not
    QTest::newRow("fraction of a millisecond") << 20.4 << 0.0;
    QTest::newRow("under a millisecond") << 0.3 << 0.0;
    QTest::newRow("re-armed later") << 5.2 << 25.3;
    QTest::newRow("re-armed sooner") << 40.0 << 10.1;
}

void TestPlatform::pictureTimerWakesAtItsDeadline()
{
    QFETCH(double, firstMs);
    QFETCH(double, armedAgainMs);
    platform::PictureTimer timer;
    if (!timer.precise())
        QSKIP("no timerfd on this system: the picture timer is a plain QTimer");
    int fired = 0;
    double firedAt = 0;
    // A blocking event loop, which wakes for the timer alone (QTRY_* polls and sleeps in between).
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&timer, &QTimer::timeout, this, [&] {
        firedAt = platform::clock().steadySeconds();
        ++fired;
        timer.disarm();
        loop.quit();
    });
    // Several rounds, so that one held-up wake-up on a busy machine decides nothing.
    std::vector<double> lateMs;
    for (int round = 0; round < 7; ++round) {
        fired = 0;
        const double now = platform::clock().steadySeconds();
        double deadline = now + firstMs / 1000;
        timer.armAt(deadline);
        if (armedAgainMs > 0) {
            deadline = now + armedAgainMs / 1000;
            timer.armAt(deadline);
        }
        guard.start(1000);
        loop.exec();
        QCOMPARE(fired, 1);
        QVERIFY2(firedAt >= deadline, qPrintable(QStringLiteral("%1 ms early").arg((deadline - firedAt) * 1000)));
        lateMs.push_back((firedAt - deadline) * 1000);
    }
    // Far above the wake-up's own lateness, so that a loaded machine (or a sanitizer build) does not fail it, and
    // far below what a timer armed at the wrong time would show.
    std::nth_element(lateMs.begin(), lateMs.begin() + 3, lateMs.end());
    QVERIFY2(lateMs[3] < 5.0, qPrintable(QStringLiteral("median %1 ms late").arg(lateMs[3])));
}

void TestPlatform::disarmedPictureTimerWakesNothing()
{
    platform::PictureTimer timer;
    auto *notifier = timer.findChild<QSocketNotifier *>();
    if (!timer.precise() || !notifier)
        QSKIP("no timerfd on this system: the picture timer is a plain QTimer");
    WakeCounter counter;
    notifier->installEventFilter(&counter);
    int fired = 0;
    connect(&timer, &QTimer::timeout, this, [&] { ++fired; });
    timer.armAt(platform::clock().steadySeconds() + 0.005);
    timer.disarm();
    QEventLoop loop;
    QTimer::singleShot(40, &loop, &QEventLoop::quit);
    loop.exec();
    QCOMPARE(fired, 0);
    QCOMPARE(counter.wakeUps, 0);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
