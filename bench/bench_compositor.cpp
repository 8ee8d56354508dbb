// The real main window playing one game on a Wayland compositor, for bench/run-all.sh's compositor section:
// an outside probe films the screen meanwhile. Waits a moment so the probe sees the field before the game,
// starts a game with 100 symbols at the given times, lets it flicker, gives up and closes the window; then
// prints the processor time per second of flicker, what the game's record says of its screens, and each screen
// as the game judged it (when it came up on the steady clock, refreshes off, whether known).
// Usage: bench_compositor VIEW_S BLANK_S FLICKER_S
#include "core/mdlUser.h"
#include "main/FlickerCycle.h"
#include "main/frmMain.h"
#include "records/HistoryStore.h"
#include "support/Figures.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The answer stays up this long after the give-up, so that the probe films the end of the flicker whole.
constexpr int AnswerShownMs = 1500;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s VIEW_S BLANK_S FLICKER_S\n", argv[0]);
        return 2;
    }
    const double view = std::atof(argv[1]);
    const double blank = std::atof(argv[2]);
    const int flickerMs = static_cast<int>(std::atof(argv[3]) * 1000);
    const QByteArray pacing = qgetenv("IVOK2_PACING");

    int switches = 0;
    double processorAtStart = 0;
    auto *window = new frmMain;
    QObject::connect(window, &frmMain::switched, [&] { ++switches; });
    // Each screen as the game judged it, for bench/run-all.sh to set beside the probe's screen of the same time.
    QObject::connect(window->findChild<FlickerCycle *>(QStringLiteral("flicker")), &FlickerCycle::screenJudged,
                     [](double shownAt, qint64 off, bool known) {
                         std::printf("record-screen %.4f %lld %d\n", shownAt, static_cast<long long>(off), known);
                     });
    window->resize(window->screen()->size()); // the whole output, as a maximised window on a desktop
    window->show();
    double used = 0;
    // The game has ended and its answer has been shown: what its record says.
    const auto report = [&] {
        window->close();
        delete window; // the writer finishes its work with the window
        records::HistoryStore store(records::defaultHistoryPath());
        const auto games = store.read();
        const records::GameRecord last = !games.games.isEmpty() ? games.games.last() : records::GameRecord{};
        const QByteArray timingText = last.timing.isEmpty() ? QByteArray("unknown") : last.timing.toUtf8();
        const char *timing = timingText.constData();
        // The line bench/run-all.sh sets beside the probe's count.
        std::printf("record: screens %d, screens_off %d, worst %.1f ms, dropped_refreshes %d, timing %s\n",
                    last.screens, last.screensOff, last.worstScreenErrorMs, last.droppedRefreshes, timing);
        bench::summary("compositor, %s pacing, %.1f / %.1f s: %.2f ms processor per s of flicker, "
                       "record: %d of %d screens off, %d missed refreshes, timing %s",
                       pacing.isEmpty() ? "default" : pacing.constData(), view, blank, used * 1000 / (flickerMs / 1e3),
                       last.screensOff, last.screens, last.droppedRefreshes, timing);
        QCoreApplication::quit();
    };
    QTimer::singleShot(1000, window, [&] {
        OptRec.ViewTime = view;
        OptRec.BlankTime = blank;
        OptRec.KigouNum = 100;
        OptRec.Koumoku = {-1, -1, -1, -1, -1, 0};
        processorAtStart = processorSeconds();
        window->cmdStart_Click();
        QTimer::singleShot(flickerMs, &app, [&] {
            used = processorSeconds() - processorAtStart;
            window->cmdStart_Click(); // give up: the game goes to the record, the answer shows
            std::printf("%s pacing at %.1f / %.1f s on %dx%d, %.0f Hz reported: %d switches, %.2f ms of processor "
                        "per second of flicker\n",
                        pacing.isEmpty() ? "default" : pacing.constData(), view, blank, window->width(),
                        window->height(), window->screen()->refreshRate(), switches, used * 1000 / (flickerMs / 1e3));
            QTimer::singleShot(AnswerShownMs, &app, report);
        });
    });
    return app.exec();
}
