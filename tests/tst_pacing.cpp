#include "core/DisplayPacer.h"
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
    void framesCountTime_data();
    void framesCountTime();
    void displayCounter_data();
    void displayCounter();
    void switchesAheadOfTheirDraws_data();
    void switchesAheadOfTheirDraws();
};

void TestPacing::mechanism_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QByteArray>("forced");
    QTest::addColumn<bool>("frames");
    QTest::addColumn<bool>("refused");
    QTest::newRow("wayland") << "wayland" << QByteArray() << true << false;
    QTest::newRow("wayland-egl") << "wayland-egl" << QByteArray() << true << false;
    QTest::newRow("xcb") << "xcb" << QByteArray() << false << false;
    QTest::newRow("offscreen") << "offscreen" << QByteArray() << false << false;
    QTest::newRow("wayland forced to frames") << "wayland" << QByteArray("frames") << true << false;
    // A repaint request is a plain timer there: frames would count nothing.
    QTest::newRow("xcb forced to frames") << "xcb" << QByteArray("frames") << false << true;
    QTest::newRow("offscreen forced to frames") << "offscreen" << QByteArray("frames") << false << true;
    QTest::newRow("wayland forced to the timer") << "wayland" << QByteArray("timer") << false << false;
    QTest::newRow("unknown setting") << "wayland" << QByteArray("vsync") << true << false;
}

void TestPacing::mechanism()
{
    QFETCH(QString, platform);
    QFETCH(QByteArray, forced);
    QFETCH(bool, frames);
    QFETCH(bool, refused);
    const DisplayPacer::Choice choice = DisplayPacer::chosen(platform, forced);
    QCOMPARE(choice.mechanism == DisplayPacer::Mechanism::Frames, frames);
    QCOMPARE(choice.refused, refused);
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
    QCOMPARE(DisplayPacer::refreshesFor(seconds, rate), refreshes);

    // A screen switches on exactly that refresh, the first screen on the first refresh.
    DisplayPacer pacer;
    pacer.start();
    const double period = 1 / DisplayPacer::usableRate(rate);
    QVERIFY(pacer.tick(0, rate));
    pacer.switched(seconds);
    int count = 1;
    while (!pacer.tick(count * period, rate) && count < 1000)
        ++count;
    QCOMPARE(count, refreshes);
}

void TestPacing::framesCountTime_data()
{
    QTest::addColumn<double>("gap");     // in periods of a 60 Hz display, between the 3rd and the 4th tick
    QTest::addColumn<bool>("resumed");   // the window was hidden in between
    QTest::addColumn<int>("switchAfter"); // periods from the switch to the tick that ends a 0.1 s screen
    QTest::newRow("on time") << 1.0 << false << 6;
    QTest::newRow("late by a third") << 1.33 << false << 6;
    QTest::newRow("one callback missed") << 2.0 << false << 6;
    // The tick of refresh 6 never comes: the next one ends the screen.
    QTest::newRow("three missed") << 4.0 << false << 7;
    QTest::newRow("after being hidden") << 300.0 << true << 306;
}

// Frame callbacks only: the refreshes a screen has lasted come from the time elapsed, not from the callbacks.
void TestPacing::framesCountTime()
{
    QFETCH(double, gap);
    QFETCH(bool, resumed);
    QFETCH(int, switchAfter);
    DisplayPacer pacer;
    pacer.start();
    QVERIFY(pacer.tick(10.0, 60));
    pacer.switched(0.1);
    double now = 10.0;
    for (int i = 1; i < 1000; ++i) {
        now += (i == 4 ? gap : 1.0) / 60;
        if (i == 4 && resumed)
            pacer.resume(now);
        if (pacer.tick(now, 60))
            break;
    }
    QCOMPARE(qRound((now - 10.0) * 60), switchAfter);
}

namespace {

// A display refreshing at one rate, then from refresh `changeAt` on at another, perhaps another screen with a
// refresh counter of its own. A commit made at a tick is shown on the next refresh and reported to the pacer
// before the tick of that refresh, unless it is discarded: then a later commit of the window's shows it, one
// refresh later.
struct FakeDisplay
{
    double rateBefore = 60;
    double rateAfter = 60;
    int changeAt = -1;
    bool otherCounter = false;
    int missedTick = -1;
    int discardedSwitch = -1;
    bool presentation = true;
    bool rests = false; // between switches the game watches no refresh until the one the switch is due on
    mutable int ticks = 0;

    double period(int refresh) const { return 1 / (changeAt >= 0 && refresh >= changeAt ? rateAfter : rateBefore); }
    qint64 msc(int refresh) const { return otherCounter && changeAt >= 0 && refresh >= changeAt ? 90000 + refresh : 500 + refresh; }

    // Plays screens of the given seconds, picture and blank in turn, until `screens` have ended; returns when
    // each screen was shown, in seconds.
    QList<double> play(DisplayPacer &pacer, double picture, double blank, int screens) const
    {
        struct Commit
        {
            double at;
            bool field;
            int screen;
        };
        QList<double> shown;
        QList<Commit> pending;
        int switches = 0;
        int lateScreen = -1;
        pacer.start();
        double time = 100.0;
        for (int refresh = 0; shown.size() <= screens && refresh < 20000; ++refresh) {
            time += period(refresh);
            if (lateScreen >= 0) {
                shown << time;
                lateScreen = -1;
            }
            for (const Commit &commit : std::as_const(pending)) {
                if (commit.field && commit.screen == discardedSwitch) {
                    pacer.discarded(commit.at, true);
                    lateScreen = commit.screen;
                    continue;
                }
                if (commit.field)
                    shown << time;
                if (presentation)
                    pacer.presented(commit.at, commit.field, msc(refresh), time, period(refresh));
            }
            pending.clear();
            if (refresh == missedTick)
                continue;
            const double now = time + 0.0007;
            // A change of screen or rate wakes the game, which watches the refreshes until it rests again.
            const bool woken = changeAt >= 0 && refresh >= changeAt && refresh < changeAt + 3;
            if (rests && !woken && pacer.started() && now < pacer.switchDueAt())
                continue;
            ++ticks;
            if (pacer.tick(now, 1 / period(refresh))) {
                pacer.switched(switches % 2 == 0 ? picture : blank);
                pending << Commit{now, true, switches++};
            }
            pending << Commit{now, false, -1};
        }
        return shown;
    }
};

} // namespace

void TestPacing::displayCounter_data()
{
    QTest::addColumn<double>("picture");
    QTest::addColumn<double>("blank");
    QTest::addColumn<double>("rateBefore");
    QTest::addColumn<double>("rateAfter");
    QTest::addColumn<int>("changeAt"); // the refresh from which the rate is the second one
    QTest::addColumn<bool>("otherCounter");
    QTest::addColumn<int>("missedTick");
    QTest::addColumn<int>("discardedSwitch");
    QTest::addColumn<bool>("presentation");
    QTest::addColumn<bool>("rests");
    QTest::addColumn<int>("off"); // screens the record counts off
    QTest::newRow("steady") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << -1 << -1 << true << false << 0;
    QTest::newRow("a callback missed") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << 9 << -1 << true << false << 0;
    // Shown a refresh late: the screen before lasts one more, this one one less, and neither is claimed right.
    QTest::newRow("a switch discarded") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << -1 << 2 << true << false << 2;
    QTest::newRow("60 to 144 Hz mid-screen") << 0.3 << 0.1 << 60.0 << 144.0 << 10 << false << -1 << -1 << true << false << 0;
    QTest::newRow("moved to a 144 Hz screen") << 0.3 << 0.1 << 60.0 << 144.0 << 30 << true << -1 << -1 << true << false << 0;
    QTest::newRow("moved to a 60 Hz screen") << 0.3 << 0.1 << 144.0 << 60.0 << 20 << true << -1 << -1 << true << false << 0;
    QTest::newRow("10 s moved from 144 to 30 Hz") << 10.0 << 0.1 << 144.0 << 30.0 << 288 << true << -1 << -1 << true << false << 0;
    QTest::newRow("frames only, a callback missed") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << 9 << -1 << false << false << 0;
    QTest::newRow("frames only, 60 to 144 Hz") << 0.3 << 0.1 << 60.0 << 144.0 << 10 << false << -1 << -1 << false << false << 0;
    // Between switches the game rests: the screens still end on their refresh.
    QTest::newRow("resting") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << -1 << -1 << true << true << 0;
    QTest::newRow("resting, 1 s") << 1.0 << 0.3 << 60.0 << 60.0 << -1 << false << -1 << -1 << true << true << 0;
    QTest::newRow("resting, 60 to 144 Hz") << 0.3 << 0.1 << 60.0 << 144.0 << 10 << false << -1 << -1 << true << true << 0;
    QTest::newRow("resting, 10 s moved to 30 Hz") << 10.0 << 0.1 << 144.0 << 30.0 << 288 << true << -1 << -1 << true << true << 0;
    QTest::newRow("resting, a switch discarded") << 0.1 << 0.1 << 60.0 << 60.0 << -1 << false << -1 << 2 << true << true << 2;
    QTest::newRow("resting, frames only") << 0.3 << 0.1 << 60.0 << 60.0 << -1 << false << -1 << -1 << false << true << 0;
}

// Every screen shows for its time to within half a refresh of the rate it ends at, and the record counts off
// exactly the screens that were not or cannot be proven.
void TestPacing::displayCounter()
{
    FakeDisplay display;
    QFETCH(double, picture);
    QFETCH(double, blank);
    QFETCH(double, rateBefore);
    QFETCH(double, rateAfter);
    QFETCH(int, off);
    display.rateBefore = rateBefore;
    display.rateAfter = rateAfter;
    QFETCH(int, changeAt);
    QFETCH(bool, otherCounter);
    QFETCH(int, missedTick);
    QFETCH(int, discardedSwitch);
    QFETCH(bool, presentation);
    QFETCH(bool, rests);
    display.changeAt = changeAt;
    display.otherCounter = otherCounter;
    display.missedTick = missedTick;
    display.discardedSwitch = discardedSwitch;
    display.presentation = presentation;
    display.rests = rests;
    DisplayPacer pacer;
    const int screens = 5;
    const QList<double> shown = display.play(pacer, picture, blank, screens);
    QVERIFY(shown.size() > screens);
    int wrong = 0;
    for (int i = 0; i < screens; ++i) {
        const double seconds = i % 2 == 0 ? picture : blank;
        const double error = shown[i + 1] - shown[i] - seconds;
        const double tolerance = 0.5 / std::min(rateBefore, rateAfter) + 1e-9;
        if (std::abs(error) > tolerance && i != discardedSwitch - 1 && i != discardedSwitch)
            QFAIL(qPrintable(QStringLiteral("screen %1 off by %2 ms").arg(i).arg(error * 1000)));
        wrong += std::abs(error) > tolerance;
    }
    QCOMPARE(wrong, off);
    QVERIFY(pacer.tally().screens >= screens);
    QCOMPARE(pacer.tally().screensOff, off);
    // Resting, only the refresh a screen ends on is watched, and those after a change of screen or rate.
    if (rests)
        QVERIFY2(display.ticks <= screens + 1 + (changeAt >= 0 ? 3 : 0), qPrintable(QString::number(display.ticks)));
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
