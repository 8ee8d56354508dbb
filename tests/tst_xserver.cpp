// The flicker on an X server of its own (Xvfb), where one is installed: the server is stopped between two
// switches, and the next switch must still be drawn on time, without waiting for the server's answer.
#include "core/mdlUser.h"
#include "main/FlickerCycle.h"
#include "main/frmMain.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace {

QProcess *server = nullptr;

// Starts Xvfb on a free display and points DISPLAY at it; false where there is no Xvfb or it does not start.
bool startServer()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int display = 200 + static_cast<int>((getpid() + attempt * 37) % 700);
        if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
            continue;
        auto *process = new QProcess;
        process->start(xvfb, {QStringLiteral(":%1").arg(display), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                              QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")});
        QElapsedTimer waited;
        waited.start();
        while (process->state() != QProcess::NotRunning && waited.elapsed() < 10000
               && !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
            process->waitForFinished(50);
        if (process->state() == QProcess::Running) {
            server = process;
            qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
            return true;
        }
        delete process;
    }
    return false;
}

} // namespace

class TestXServer : public QObject
{
    Q_OBJECT

private slots:
    void switchWaitsForNoAnswerOfTheServer();
};

void TestXServer::switchWaitsForNoAnswerOfTheServer()
{
    if (!server)
        QSKIP("no X server: Xvfb is not installed or did not start");
    TestEnvironment env;
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    OptRec.ViewTime = 0.1;
    OptRec.BlankTime = 0.1;
    OptRec.KigouNum = 100;
    auto *cycle = window.findChild<FlickerCycle *>(QStringLiteral("flicker"));
    auto *settle = window.findChild<QTimer *>(QStringLiteral("timSettle"));
    QVERIFY(cycle && settle);

    // Joined on the way out, whatever fails.
    struct Release
    {
        std::thread thread;
        ~Release()
        {
            if (thread.joinable())
                thread.join();
        }
    } release;
    int settled = 0;
    qint64 stoppedAt = -1;
    qint64 switchedAfter = -1;
    QElapsedTimer clock;
    clock.start();
    // Stopped once the paint after a few switches is settled; the server is let go again after a second, from
    // another thread, so that a switch that waits for it shows as a long one, not as a hung test.
    connect(settle, &QTimer::timeout, this, [&] {
        if (++settled != 3)
            return;
        ::kill(static_cast<pid_t>(server->processId()), SIGSTOP);
        stoppedAt = clock.elapsed();
        release.thread = std::thread([pid = static_cast<pid_t>(server->processId())] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            ::kill(pid, SIGCONT);
        });
    });
    connect(cycle, &FlickerCycle::switched, this, [&] {
        if (stoppedAt >= 0 && switchedAfter < 0)
            switchedAfter = clock.elapsed() - stoppedAt;
    });
    window.cmdStart_Click();
    QTRY_VERIFY_WITH_TIMEOUT(switchedAfter >= 0, 10000);
    release.thread.join();
    window.cmdStart_Click();
    // The next switch was due at most a screen later.
    QVERIFY2(switchedAfter < 500, qPrintable(QStringLiteral("the switch came %1 ms after the stop").arg(switchedAfter)));
}

int main(int argc, char **argv)
{
    const bool started = startServer();
    if (started)
        qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestXServer test;
        result = QTest::qExec(&test, argc, argv);
    }
    if (server) {
        ::kill(static_cast<pid_t>(server->processId()), SIGCONT);
        server->terminate();
        server->waitForFinished(5000);
        delete server;
    }
    return result;
}

#include "tst_xserver.moc"
