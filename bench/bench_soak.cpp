// Long play at the shortest intervals (0.1 s / 0.1 s) with 100 symbols: thousands of switches over hundreds of
// games, each ended by a hit or a give-up and followed by a restart, with the options dialog opened from the menu
// and confirmed every few games. Memory is sampled after every game, so the figures show the peak and whether
// anything grows from game to game.
//
// To fit thousands of switches into seconds, most games call the picture timer's slot directly, each switch
// followed by the paint and flush the event loop would do next; every few games instead runs on the real timers
// in the event loop, stopwatch included, with the options dialog open for a while as the cycle goes on behind it.
#include "core/mdlUser.h"
#include "dialogs/frmOpt.h"
#include "main/frmMain.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "support/Fakes.h"
#include "support/Figures.h"
#include "support/ProcessStats.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int DefaultGames = 400;
constexpr int RealTimedEvery = 40; // every 40th game runs on the real timers
constexpr int RealTimedSwitches = 20;
constexpr int SwitchesAfterGiveUp = 8;
constexpr int OptionsEvery = 5;
// The first games, a real-timed one among them, fill the caches of symbols, glyphs and dialog resources.
constexpr int WarmUpGames = 10;

struct Tally
{
    long drivenSwitches = 0;
    long timedSwitches = 0;
    int hits = 0;
    int giveUps = 0;
    int optionsConfirmed = 0;
};

struct Samples
{
    std::vector<double> heapKiB;
    std::vector<double> residentKiB;
    std::vector<double> widgets;
};

struct Growth
{
    double firstQuarter = 0;
    double lastQuarter = 0;
};

struct Arguments
{
    int games = DefaultGames;
    std::string tool; // the memory tool the soak runs under
};

// Seconds after main() began: a memory tool's own time line can be cut to the settled games with them.
struct Timing
{
    double soakStarted = 0;
    double settled = 0; // the warm-up games are over
    double ended = 0;
};

class Soak
{
public:
    Soak(frmMain &window, FakeMessages &messages)
        : m_window(window)
        , m_picture(window.findChild<QTimer *>(QStringLiteral("timMain")))
        , m_messages(messages)
    {
        QObject::connect(m_picture, &QTimer::timeout, m_picture, [this] { ++m_tally.timedSwitches; });
    }

    // Room for every sample from the start, so that keeping them does not itself grow the heap.
    void reserveSamples(int games);
    void playGame(int game);
    void sampleMemory();
    const Tally &tally() const { return m_tally; }
    const Samples &samples() const { return m_samples; }

private:
    void start();
    void driveSwitches(int count);
    void runTimedSwitches(int count, bool withOptions);
    void confirmOptionsAfter(int ms);
    void hit();
    void giveUp();

    frmMain &m_window;
    QTimer *m_picture;
    FakeMessages &m_messages;
    Tally m_tally;
    Samples m_samples;
};

void useShortestIntervalsAndAllSymbols()
{
    OptRec.ViewTime = ViewTimeRange.low;
    OptRec.BlankTime = BlankTimeRange.low;
    OptRec.KigouNum = KigouNumRange.high;
    OptRec.Koumoku = {True16, True16, True16, True16, True16, False16};
}

void Soak::start()
{
    m_window.cmdStart_Click();
    if (m_window.ViewMode() != ViewPicture1 || m_window.CurrentQuiz().itemCount() != 100 || !m_picture->isActive())
        qFatal("a game with 100 symbols did not start");
}

// What the event loop does after a switch: paint what changed and flush it to the window system.
void Soak::driveSwitches(int count)
{
    for (int i = 0; i < count; ++i) {
        m_window.timMain_Timer();
        QCoreApplication::sendPostedEvents(&m_window, QEvent::UpdateRequest);
        ++m_tally.drivenSwitches;
    }
}

void Soak::runTimedSwitches(int count, bool withOptions)
{
    QEventLoop loop;
    int seen = 0;
    const auto counter = QObject::connect(m_picture, &QTimer::timeout, &loop, [&] {
        ++seen;
        if (withOptions && seen == count / 4)
            QTimer::singleShot(0, &m_window, [this] { confirmOptionsAfter(350); });
        if (seen == count)
            loop.quit();
    });
    loop.exec();
    QObject::disconnect(counter);
}

// Opens the dialog through the menu, as the player does, and presses 変更 once it has been up for a while.
void Soak::confirmOptionsAfter(int ms)
{
    QTimer::singleShot(ms, &m_window, [] {
        auto *dialog = qobject_cast<frmOpt *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the options dialog is not open");
        dialog->cmdOk_Click();
    });
    m_window.mnuOpt_Click();
    if (OptRec.ViewTime != 0.1 || OptRec.BlankTime != 0.1 || OptRec.KigouNum != 100
        || !platform::fileExists(SettingsFilePath()))
        qFatal("confirming the options dialog did not keep and save the settings");
    ++m_tally.optionsConfirmed;
}

void Soak::hit()
{
    const qsizetype before = m_messages.shown.size();
    m_window.lblKey_Click(m_window.CurrentQuiz().AnsNo);
    if (m_messages.shown.size() != before + 1 || m_picture->isActive())
        qFatal("a hit did not end the game");
    m_messages.shown.clear(); // the texts kept must not show as growth from game to game
    ++m_tally.hits;
}

void Soak::giveUp()
{
    m_window.cmdStart_Click();
    if (m_window.AnsView() != True16 || !m_picture->isActive())
        qFatal("giving up did not show the answer");
    ++m_tally.giveUps;
}

void Soak::playGame(int game)
{
    const bool timed = game % RealTimedEvery == 0;
    const bool withOptions = game % OptionsEvery == 0 || timed;
    const bool givesUp = game % 3 == 2;
    start();
    if (timed) {
        runTimedSwitches(RealTimedSwitches, withOptions);
    } else {
        const int switches = 20 + 10 * (game % 4);
        driveSwitches(switches / 2);
        if (withOptions)
            confirmOptionsAfter(0);
        driveSwitches(switches - switches / 2);
    }
    if (!givesUp) {
        hit();
        return;
    }
    giveUp();
    if (timed)
        runTimedSwitches(SwitchesAfterGiveUp, false);
    else
        driveSwitches(SwitchesAfterGiveUp);
}

void Soak::reserveSamples(int games)
{
    const auto count = static_cast<size_t>(games);
    m_samples.heapKiB.reserve(count);
    m_samples.residentKiB.reserve(count);
    m_samples.widgets.reserve(count);
}

void Soak::sampleMemory()
{
    // Whatever the game left for the event loop (deferred deletions among it) is done before the sample.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bench::MemorySample sample = bench::sampleMemory();
    m_samples.heapKiB.push_back(sample.heapKiB);
    m_samples.residentKiB.push_back(sample.residentKiB);
    m_samples.widgets.push_back(static_cast<double>(QApplication::allWidgets().size()));
}

// Means of the first and the last quarter of the samples taken after the warm-up games.
Growth growthOf(const std::vector<double> &samples)
{
    const std::vector<double> settled(samples.begin() + WarmUpGames, samples.end());
    const auto quarter = static_cast<std::ptrdiff_t>(settled.size() / 4);
    return {bench::meanOf(std::vector<double>(settled.begin(), settled.begin() + quarter)),
            bench::meanOf(std::vector<double>(settled.end() - quarter, settled.end()))};
}

void printGrowth(const char *what, const char *unit, const Growth &growth)
{
    std::printf("  %-13s %10.1f %-3s -> %10.1f %-3s (growth %+.1f %s)\n", what, growth.firstQuarter, unit,
                growth.lastQuarter, unit, growth.lastQuarter - growth.firstQuarter, unit);
}

void printPlay(const Tally &t, int games, double seconds)
{
    std::printf("Soak on %s: %d games in %.1f s, %ld switches (%ld driven, %ld on the real timers), %d hits, "
                "%d give-ups, options dialog confirmed %d times\n",
                qPrintable(QGuiApplication::platformName()), games, seconds, t.drivenSwitches + t.timedSwitches,
                t.drivenSwitches, t.timedSwitches, t.hits, t.giveUps, t.optionsConfirmed);
}

// Under a memory tool the heap is the tool's to count: the allocator the soak would read belongs to the tool
// (valgrind) or is shared with the tool's own bookkeeping (heaptrack).
void printHeapGrowth(const Growth &heap, const Arguments &arguments)
{
    if (!arguments.tool.empty()) {
        std::printf("  heap in use: see %s's figures\n", arguments.tool.c_str());
        return;
    }
    printGrowth(bench::heapFigureExact() ? "heap in use" : "heap in use*", "KiB", heap);
    if (!bench::heapFigureExact())
        std::printf("  * counts the blocks glibc's per-thread cache holds; GLIBC_TUNABLES=glibc.malloc.tcache_count=0 "
                    "makes it exact\n");
}

void report(const Soak &soak, const Arguments &arguments, const Timing &timing)
{
    const Tally &t = soak.tally();
    const long switches = t.drivenSwitches + t.timedSwitches;
    const Growth heap = growthOf(soak.samples().heapKiB);
    const Growth resident = growthOf(soak.samples().residentKiB);
    const Growth widgets = growthOf(soak.samples().widgets);
    printPlay(t, arguments.games, timing.ended - timing.soakStarted);
    std::printf("After each of games %d-%d, mean of the first and of the last quarter:\n", WarmUpGames + 1,
                arguments.games);
    printHeapGrowth(heap, arguments);
    printGrowth("resident set", "KiB", resident);
    printGrowth("widgets", "", widgets);
    std::printf("Peak resident set: %.0f KiB\n", bench::peakResidentKiB());
    std::printf("Settled play: from %.3f s to %.3f s after main() began\n", timing.settled, timing.ended);

    const QByteArray platformName = QGuiApplication::platformName().toUtf8();
    if (!arguments.tool.empty()) {
        bench::summary("soak under %s (%s): %d games, %ld switches (%ld on the real timers), %d options dialogs; "
                       "first to last quarter: widgets %+.0f",
                       arguments.tool.c_str(), platformName.constData(), arguments.games, switches, t.timedSwitches,
                       t.optionsConfirmed, widgets.lastQuarter - widgets.firstQuarter);
        return;
    }
    bench::summary("soak (%s): %d games (%d hits, %d give-ups), %ld switches (%ld on the real timers), %d options "
                   "dialogs; peak resident %.1f MiB; first to last quarter: heap %+.1f KiB%s, resident %+.1f KiB, "
                   "widgets %+.0f",
                   platformName.constData(), arguments.games, t.hits, t.giveUps, switches, t.timedSwitches,
                   t.optionsConfirmed, bench::peakResidentKiB() / 1024, heap.lastQuarter - heap.firstQuarter,
                   bench::heapFigureExact() ? "" : " (glibc's thread cache on)",
                   resident.lastQuarter - resident.firstQuarter, widgets.lastQuarter - widgets.firstQuarter);
}

double secondsSince(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// --games N (at least enough for four quarters after the warm-up), --under TOOL.
Arguments readArguments(int argc, char **argv)
{
    Arguments arguments;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--games") == 0)
            arguments.games = std::max(std::atoi(argv[i + 1]), 4 * WarmUpGames);
        else if (std::strcmp(argv[i], "--under") == 0)
            arguments.tool = argv[i + 1];
    }
    return arguments;
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    const Arguments arguments = readArguments(argc, argv);
    // The options dialog saves the settings next to the program; here that is a directory of the soak's own.
    QTemporaryDir programDirectory;
    platform::setProgramDirectory(programDirectory.path());
    FakeMessages messages;
    platform::setMessages(&messages);

    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(1024, 720);
    window.show();
    QCoreApplication::processEvents();
    useShortestIntervalsAndAllSymbols();

    Soak soak(window, messages);
    soak.reserveSamples(arguments.games);
    Timing timing;
    timing.soakStarted = secondsSince(sinceMain);
    for (int game = 0; game < arguments.games; ++game) {
        soak.playGame(game);
        soak.sampleMemory();
        if (game + 1 == WarmUpGames)
            timing.settled = secondsSince(sinceMain);
    }
    timing.ended = secondsSince(sinceMain);
    report(soak, arguments, timing);
    return 0;
}
