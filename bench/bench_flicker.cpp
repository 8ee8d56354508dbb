// Cost of one tick of the flicker cycle and accuracy of the cycle's timing,
// both measured up to the moment the window's paint has been flushed.
#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "support/Figures.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Notes when the window has finished the update request that follows a switch: painted and flushed. A switch
// is pending from the moment the picture timer's event arrives, before any of its slots runs, whether the
// window draws inside its slot or at a later turn of the event loop.
class FlushWatchingApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && receiver == switchTimer)
            switchPending = true;
        const bool isUpdate = event->type() == QEvent::UpdateRequest && receiver == watched;
        const bool result = QApplication::notify(receiver, event);
        if (isUpdate && switchPending) {
            switchPending = false;
            flushes.push_back(clock.nsecsElapsed());
        }
        return result;
    }

    QObject *watched = nullptr;
    QObject *switchTimer = nullptr;
    bool switchPending = false;
    QElapsedTimer clock;
    std::vector<qint64> flushes;
};

frmMain *window = nullptr;

// Every single tick of every repetition, in ms, for the summary's median and max.
std::vector<double> blankTicks;
std::vector<double> pictureTicks[2]; // pictures 1 and 2

void startGameWithHundredSymbols()
{
    OptRec.KigouNum = 100;
    OptRec.Koumoku = {-1, -1, -1, -1, -1, 0};
    window->cmdStart_Click();
    if (window->ViewMode() != ViewPicture1 || window->CurrentQuiz().itemCount() != 100)
        qFatal("could not start a game with 100 symbols");
    // Only the drawing is measured here; the bench drives the phases itself.
    window->findChild<QTimer *>("timMain")->stop();
    window->findChild<QTimer *>("timWatch")->stop();
}

// What the event loop does next after a tick: paint what changed and flush it.
void paintAndFlush()
{
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

// Times one kind of tick; the drawing that sets it up runs untimed in between.
template<typename Setup, typename Tick>
void timeTicks(benchmark::State &state, std::vector<double> &ticksMs, Setup setup, Tick tick)
{
    startGameWithHundredSymbols();
    double longest = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        setup();
        paintAndFlush();
        timer.start();
        tick();
        paintAndFlush();
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        longest = std::max(longest, seconds);
        ticksMs.push_back(seconds * 1e3);
        state.SetIterationTime(seconds);
    }
    state.counters["longest_us"] = longest * 1e6;
}

void BM_ClsView(benchmark::State &state)
{
    timeTicks(state, blankTicks, [] { window->ViewQuiz(1); }, [] { window->ClsView(); });
}

void BM_ViewQuiz(benchmark::State &state)
{
    const int picture = static_cast<int>(state.range(0));
    timeTicks(state, pictureTicks[picture - 1], [] { window->ClsView(); }, [picture] { window->ViewQuiz(picture); });
}

BENCHMARK(BM_ClsView)->UseManualTime()->Iterations(300)->Repetitions(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewQuiz)->Arg(1)->Arg(2)->UseManualTime()->Iterations(300)->Repetitions(10)->Unit(benchmark::kMicrosecond);

void summariseTickCost()
{
    bench::summary("tick cost (%s), 100 symbols, paint and flush included, median / max: blank %.3f / %.3f ms, "
                   "picture 1 %.3f / %.3f ms, picture 2 %.3f / %.3f ms",
                   qPrintable(QGuiApplication::platformName()), bench::median(blankTicks), bench::maxOf(blankTicks),
                   bench::median(pictureTicks[0]), bench::maxOf(pictureTicks[0]), bench::median(pictureTicks[1]),
                   bench::maxOf(pictureTicks[1]));
}

// Runs the real cycle at 0.1 s / 0.1 s and compares how long each screen stayed with its interval.
void measureCycleAccuracy(FlushWatchingApplication &app, int switches)
{
    OptRec.ViewTime = 0.1;
    OptRec.BlankTime = 0.1;
    OptRec.KigouNum = 100;
    QTimer *picture = window->findChild<QTimer *>("timMain");

    app.flushes.clear();
    app.switchTimer = picture;
    QObject::connect(picture, &QTimer::timeout, &app, [&] {
        if (static_cast<int>(app.flushes.size()) > switches)
            QCoreApplication::exit(0);
    });
    app.clock.start();
    window->cmdStart_Click();
    app.switchPending = true;
    app.exec();
    app.switchTimer = nullptr;
    window->cmdStart_Click();
    picture->stop();

    std::vector<double> errors;
    std::vector<double> signedErrors; // a screen that runs long on average makes the whole cycle drift
    for (size_t i = 1; i < app.flushes.size(); ++i) {
        const double shownMs = static_cast<double>(app.flushes[i] - app.flushes[i - 1]) / 1e6;
        signedErrors.push_back(shownMs - 100.0);
        errors.push_back(std::abs(shownMs - 100.0));
    }
    const auto offByAFrame = std::count_if(errors.begin(), errors.end(), [](double e) { return e >= 16.7; });
    bench::summary("cycle accuracy (%s), %zu screens at 0.1 s / 0.1 s: |shown - 100 ms| median %.3f, p99 %.3f, "
                   "max %.3f ms; mean signed error %+.3f ms; screens off by 16.7 ms or more: %ld",
                   qPrintable(QGuiApplication::platformName()), errors.size(), bench::median(errors),
                   bench::percentile(errors, 0.99), bench::maxOf(errors), bench::meanOf(signedErrors),
                   static_cast<long>(offByAFrame));
}

} // namespace

int main(int argc, char **argv)
{
    FlushWatchingApplication app(argc, argv);
    frmMain mainWindow;
    window = &mainWindow;
    mainWindow.setWindowState(Qt::WindowNoState);
    mainWindow.resize(1024, 720);
    mainWindow.show();
    app.watched = &mainWindow;
    QCoreApplication::processEvents();

    std::printf("Tick cost on %s, 100 symbols, drawing plus paint and flush of the window:\n",
                qPrintable(QGuiApplication::platformName()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summariseTickCost();

    measureCycleAccuracy(app, 240);
    return 0;
}
