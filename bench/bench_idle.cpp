// Wake-ups while no game runs: with the main window shown and nothing being played, the game has no reason to
// wake the process. Over a quiet stretch this counts how often the event loop woke, which events it delivered,
// and the context switches of the main thread and of the whole process; once after start-up, once after a won game.
#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "support/Fakes.h"
#include "support/Figures.h"
#include "support/ProcessStats.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int SettleMs = 1000;
constexpr int StretchMs = 10000;

// Counts the events the event loop itself delivers (not those sent while handling another one), by kind and receiver.
class DeliveryCountingApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (counting && depth == 0)
            ++delivered[describe(receiver, event)];
        ++depth;
        const bool result = QApplication::notify(receiver, event);
        --depth;
        return result;
    }

    bool counting = false;
    std::map<std::string, int> delivered;

private:
    static std::string describe(QObject *receiver, QEvent *event)
    {
        const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type());
        return std::string(type ? type : "user event") + " to " + receiver->metaObject()->className() + " \""
            + receiver->objectName().toStdString() + "\"";
    }

    int depth = 0;
};

struct Stretch
{
    int wakeUps = 0; // the dispatcher's awake signals, the first on entering the loop
    int sleeps = 0;
    int deliveries = 0; // besides the timer that ends the stretch
    bench::ContextSwitches mainThread;
    bench::ContextSwitches process;
};

void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bench::ContextSwitches operator-(const bench::ContextSwitches &a, const bench::ContextSwitches &b)
{
    return {a.voluntary - b.voluntary, a.involuntary - b.involuntary};
}

const QString EndOfStretch = QStringLiteral("end of stretch");

// Lets the loop sleep for the stretch; the only timer the bench itself runs is the one that ends it.
Stretch countQuietStretch(DeliveryCountingApplication &app)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    Stretch stretch;
    const auto awake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++stretch.wakeUps; });
    const auto asleep =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] { ++stretch.sleeps; });
    QEventLoop loop;
    QTimer end;
    end.setObjectName(EndOfStretch);
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);

    app.delivered.clear();
    const bench::ContextSwitches mainBefore = bench::mainThreadSwitches();
    const bench::ContextSwitches processBefore = bench::processSwitches();
    app.counting = true;
    end.start(StretchMs);
    loop.exec();
    app.counting = false;
    stretch.mainThread = bench::mainThreadSwitches() - mainBefore;
    stretch.process = bench::processSwitches() - processBefore;
    QObject::disconnect(awake);
    QObject::disconnect(asleep);
    for (const auto &[what, count] : app.delivered) {
        if (what.find(EndOfStretch.toStdString()) == std::string::npos)
            stretch.deliveries += count;
    }
    return stretch;
}

void printStretch(const char *state, const Stretch &stretch, const std::map<std::string, int> &delivered)
{
    std::printf("%s, %.0f s on %s (%s): %d wake-ups, %d sleeps; context switches voluntary/involuntary: main "
                "thread %ld/%ld, whole process %ld/%ld\n",
                state, StretchMs / 1000.0, qPrintable(QGuiApplication::platformName()),
                QAbstractEventDispatcher::instance()->metaObject()->className(), stretch.wakeUps, stretch.sleeps,
                stretch.mainThread.voluntary, stretch.mainThread.involuntary, stretch.process.voluntary,
                stretch.process.involuntary);
    for (const auto &[what, count] : delivered)
        std::printf("  delivered %dx: %s\n", count, what.c_str());
}

Stretch measureQuietStretch(DeliveryCountingApplication &app, const char *state)
{
    runEventLoopFor(SettleMs);
    const Stretch stretch = countQuietStretch(app);
    printStretch(state, stretch, app.delivered);
    return stretch;
}

// Starts a game on the real timers, lets it switch a few times, then clicks the answer.
void playAndWin(frmMain &window)
{
    OptRec.ViewTime = 0.1;
    OptRec.BlankTime = 0.1;
    window.cmdStart_Click();
    runEventLoopFor(500);
    window.lblKey_Click(window.CurrentQuiz().AnsNo);
    if (window.AnsView() != True16)
        qFatal("the game did not end on the answer's click");
}

} // namespace

int main(int argc, char **argv)
{
    DeliveryCountingApplication app(argc, argv);
    QTemporaryDir programDirectory;
    platform::setProgramDirectory(programDirectory.path());
    FakeMessages messages; // "正解" must not open a modal box that would wait for a click
    platform::setMessages(&messages);
    frmMain window;
    window.show();

    const Stretch afterStart = measureQuietStretch(app, "Idle after start-up");
    playAndWin(window);
    const Stretch afterGame = measureQuietStretch(app, "Idle after a won game");

    bench::summary("idle %.0f s, no game (%s), after start-up / after a won game: events not the bench's %d / %d; "
                   "loop wake-ups %d / %d (its entry and the bench's end timer); voluntary context switches, main "
                   "thread %ld / %ld, process %ld / %ld",
                   StretchMs / 1000.0, qPrintable(QGuiApplication::platformName()), afterStart.deliveries,
                   afterGame.deliveries, afterStart.wakeUps, afterGame.wakeUps, afterStart.mainThread.voluntary,
                   afterGame.mainThread.voluntary, afterStart.process.voluntary, afterGame.process.voluntary);
    return 0;
}
