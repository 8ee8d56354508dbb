#include "core/RefreshPacer.h"
#include "core/SwitchSchedule.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestPacing : public QObject
{
    Q_OBJECT

private slots:
    void mechanism_data();
    void mechanism();
    void refreshesPerScreen_data();
    void refreshesPerScreen();
    void droppedRefreshes_data();
    void droppedRefreshes();
    void switchesAheadOfTheirDraws_data();
    void switchesAheadOfTheirDraws();
};

void TestPacing::mechanism_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QByteArray>("forced");
    QTest::addColumn<bool>("frames");
    QTest::newRow("wayland") << "wayland" << QByteArray() << true;
    QTest::newRow("wayland-egl") << "wayland-egl" << QByteArray() << true;
    QTest::newRow("xcb") << "xcb" << QByteArray() << false;
    QTest::newRow("offscreen") << "offscreen" << QByteArray() << false;
    QTest::newRow("xcb forced to frames") << "xcb" << QByteArray("frames") << true;
    QTest::newRow("wayland forced to the timer") << "wayland" << QByteArray("timer") << false;
    QTest::newRow("unknown setting") << "wayland" << QByteArray("vsync") << true;
}

void TestPacing::mechanism()
{
    QFETCH(QString, platform);
    QFETCH(QByteArray, forced);
    QFETCH(bool, frames);
    QCOMPARE(RefreshPacer::chosen(platform, forced) == RefreshPacer::Mechanism::Frames, frames);
}

void TestPacing::refreshesPerScreen_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("refreshes");
    QTest::newRow("0.1 s at 60 Hz") << 0.1 << 60.0 << 6;
    QTest::newRow("10 s at 60 Hz") << 10.0 << 60.0 << 600;
    QTest::newRow("0.3 s at 144 Hz") << 0.3 << 144.0 << 43;
    QTest::newRow("0.1 s at 59.94 Hz") << 0.1 << 59.94 << 6;
    QTest::newRow("rate unknown") << 0.3 << 0.0 << 18;
    QTest::newRow("rate 1 Hz") << 1.0 << 1.0 << 60;
    QTest::newRow("shorter than a refresh") << 0.001 << 60.0 << 1;
    QTest::newRow("damaged time") << std::numeric_limits<double>::quiet_NaN() << 60.0 << 1;
}

void TestPacing::refreshesPerScreen()
{
    QFETCH(double, seconds);
    QFETCH(double, rate);
    QFETCH(int, refreshes);
    QCOMPARE(RefreshPacer::refreshesFor(seconds, rate), refreshes);

    // A screen switches on exactly that refresh, the first screen on the first refresh.
    RefreshPacer pacer;
    pacer.start();
    QVERIFY(pacer.refresh(0, rate).switchNow);
    pacer.switched(seconds, rate);
    int count = 0;
    while (!pacer.refresh(0, rate).switchNow && count < 1000)
        ++count;
    QCOMPARE(count + 1, refreshes);
}

void TestPacing::droppedRefreshes_data()
{
    QTest::addColumn<double>("gap");   // in periods of a 60 Hz display
    QTest::addColumn<bool>("resumed"); // the window was hidden in between
    QTest::addColumn<int>("dropped");
    QTest::newRow("on time") << 1.0 << false << 0;
    QTest::newRow("late but the same refresh") << 1.49 << false << 0;
    QTest::newRow("one missed") << 1.6 << false << 1;
    QTest::newRow("three missed") << 4.1 << false << 3;
    QTest::newRow("after being hidden") << 300.0 << true << 0;
}

void TestPacing::droppedRefreshes()
{
    QFETCH(double, gap);
    QFETCH(bool, resumed);
    QFETCH(int, dropped);
    RefreshPacer pacer;
    pacer.start();
    QCOMPARE(pacer.refresh(5.0, 60).dropped, 0);
    if (resumed)
        pacer.resume();
    QCOMPARE(pacer.refresh(5.0 + gap / 60, 60).dropped, dropped);
}

void TestPacing::switchesAheadOfTheirDraws_data()
{
    QTest::addColumn<double>("pictureDraw"); // seconds from handling a switch to its screen drawn
    QTest::addColumn<double>("blankDraw");
    QTest::newRow("pictures slower") << 0.003 << 0.0002;
    QTest::newRow("blanks slower") << 0.0002 << 0.003;
    QTest::newRow("both slow") << 0.0035 << 0.0025;
}

// The timer fires as armed; each screen is drawn its time later. Once the schedule has seen a draw of each kind,
// every screen shows within the timer's rounding of its due time, and the due times stay whole screens from the
// start.
void TestPacing::switchesAheadOfTheirDraws()
{
    QFETCH(double, pictureDraw);
    QFETCH(double, blankDraw);
    SwitchSchedule schedule;
    schedule.start(10.0, 0.1); // picture 1 is up
    double fires = 10.1;
    for (int k = 1; k <= 12; ++k) {
        const bool picture = k % 2 == 0;
        // A 50 ms stall every fifth draw: more than any screen's own cost, it must not move the timing.
        const double draw = k % 5 == 0 ? 0.05 : picture ? pictureDraw : blankDraw;
        const double due = schedule.due();
        schedule.switched(fires, 0.1);
        QCOMPARE(schedule.due(), 10.0 + 0.1 * (k + 1));
        if (k > 2 && k % 5 != 0)
            QVERIFY2(std::abs(fires + draw - due) <= 0.0006, qPrintable(QString::number((fires + draw - due) * 1000)));
        schedule.drawn(picture ? SwitchSchedule::Screen::Picture : SwitchSchedule::Screen::Blank, draw);
        const double drawn = fires + draw;
        const auto next = picture ? SwitchSchedule::Screen::Blank : SwitchSchedule::Screen::Picture;
        fires = drawn + schedule.intervalMs(drawn, next) / 1000.0;
    }
}

QTEST_MAIN(TestPacing)
#include "tst_pacing.moc"
