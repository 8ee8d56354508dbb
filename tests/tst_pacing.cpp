#include "core/RefreshPacer.h"

#include <QTest>

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

QTEST_MAIN(TestPacing)
#include "tst_pacing.moc"
