// The records with a long history: 100 000 games in a fresh database. Measures one insert as the writer thread
// does it, the interface thread's share of recording a game, and, with a watchdog on the interface thread, how
// long it stalls while the records window opens (also under another program's write lock), changes a filter,
// exports every game and takes in a new one.
#include "dialogs/frmRecords.h"
#include "main/frmMain.h"
#include "records/HistoryLocation.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"
#include "support/Figures.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QLabel>
#include <QTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>

using namespace records;

namespace {

constexpr int HistoryGames = 100000;
constexpr int TimedInserts = 201;
constexpr int TimedHandOffs = 1001;
constexpr int TimedOpens = 5;
constexpr int TimedFilters = 12;
constexpr int TimedExports = 3;
constexpr int TimedRefreshes = 11;
constexpr int ItemCounts[] = {10, 20, 30, 50, 100};

// Two years of games, a few an hour, most of them hits.
GameRecord randomGame(QRandomGenerator &random, const QDateTime &start)
{
    GameRecord record;
    const QDateTime when = start.addSecs(random.bounded(300, 960));
    record.started = when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs);
    record.startedMs = when.toMSecsSinceEpoch();
    const int roll = static_cast<int>(random.bounded(100));
    record.outcome = roll < 80 ? Outcome::Hit : roll < 97 ? Outcome::GiveUp : Outcome::Abandoned;
    record.elapsedMs = random.bounded(1500, 90000);
    record.kind = static_cast<QuizKind>(random.bounded(records::RecordedKindCount));
    record.items = ItemCounts[random.bounded(int(std::size(ItemCounts)))];
    record.viewTime = 3;
    record.blankTime = 0.3;
    record.columns = 22;
    record.rows = 8;
    record.answer1Column = static_cast<int>(random.bounded(22));
    record.answer1Row = static_cast<int>(random.bounded(8));
    record.answer2Column = record.answer1Column;
    record.answer2Row = record.answer1Row;
    record.misses = static_cast<int>(random.bounded(4));
    record.version = QStringLiteral("1.0.0");
    return record;
}

// Milliseconds that work takes; work returns false when it failed.
template <typename Work>
std::optional<double> msOf(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    if (!work())
        return std::nullopt;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lets the window draw what is due, as the event loop does. A grab or a repaint on top would draw it all a
// second time in the same turn, a stall the program never has.
void paint()
{
    QCoreApplication::processEvents();
}

// Runs the event loop until done() holds.
template <typename Done>
void waitFor(Done &&done)
{
    QElapsedTimer deadline;
    deadline.start();
    while (!done() && deadline.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 5);
}

// The window has filled its views: no slice of work or of the chart is waiting and nothing is being read.
bool idle(const frmRecords &window)
{
    return !window.findChild<QTimer *>(QStringLiteral("timBuild"))->isActive()
           && !window.findChild<QTimer *>(QStringLiteral("timChart"))->isActive()
           && !window.findChild<QLabel *>(QStringLiteral("lblStatus"))->text().contains(QStringLiteral("読み込み中…"));
}

struct Stalls
{
    double max = 0;
    double p99 = 0;
};

// A timer on the interface thread that ticks every millisecond: the longest gap between two ticks is the
// longest time the thread did not get to its events.
class Watchdog
{
public:
    Watchdog()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_gaps.push_back(static_cast<double>(m_since.nsecsElapsed()) / 1e6);
            m_since.restart();
        });
    }
    void start()
    {
        m_since.start();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    Stalls take()
    {
        Stalls stalls;
        if (!m_gaps.empty())
            stalls = {bench::maxOf(m_gaps), bench::percentile(m_gaps, 0.99)};
        m_gaps.clear();
        return stalls;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    std::vector<double> m_gaps;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // In the program the main window is up before the records window first opens, with the fonts and the
    // style it loaded; its own history here stays in memory.
    records::setHistoryPath(QStringLiteral(":memory:"));
    frmMain program;
    program.show();
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    QRandomGenerator random(12);

    QList<GameRecord> history;
    QDateTime when = QDateTime::currentDateTime().addDays(-730);
    for (int i = 0; i < HistoryGames; ++i) {
        history.append(randomGame(random, when));
        when = QDateTime::fromMSecsSinceEpoch(history.back().startedMs);
    }
    {
        HistoryStore seeder(path);
        records::StoreOutcome outcome;
        const auto seeding = msOf([&] { return (outcome = seeder.append(history)).done(); });
        if (!seeding) {
            std::fprintf(stderr, "cannot seed the history: %s\n", qPrintable(outcome.text));
            return 1;
        }
        std::printf("seeded %d games in %.0f ms\n", HistoryGames, *seeding);
    }

    std::vector<double> inserts;
    {
        HistoryStore store(path);
        for (int i = 0; i < TimedInserts; ++i) {
            const GameRecord game = randomGame(random, when);
            const auto ms = msOf([&] { return store.append({game}).done(); });
            if (!ms)
                return 1;
            inserts.push_back(*ms);
        }
    }
    std::printf("insert of one game, %d inserts: median %.3f ms, p99 %.3f ms, max %.3f ms\n", TimedInserts,
                bench::median(inserts), bench::percentile(inserts, 0.99), bench::maxOf(inserts));

    // What a hit or a give-up costs the interface thread: handing the record to the writer thread.
    std::vector<double> handOffs;
    {
        RecordWriter writer(path);
        for (int i = 0; i < TimedHandOffs; ++i) {
            const GameRecord game = randomGame(random, when);
            handOffs.push_back(*msOf([&] {
                writer.submit(game);
                return true;
            }));
            if (i % 100 == 0)
                writer.flush();
        }
    }
    std::printf("hand-off of one game on the interface thread, %d games: median %.4f ms, max %.4f ms\n",
                TimedHandOffs, bench::median(handOffs), bench::maxOf(handOffs));

    RecordWriter writer(path);
    QElapsedTimer takeIn;
    QObject::connect(&writer, &RecordWriter::recorded, &app, [&] { takeIn.start(); });
    Watchdog watchdog;
    std::vector<double> shownAfter;
    std::unique_ptr<frmRecords> window;
    for (int i = 0; i < TimedOpens; ++i) {
        window.reset();
        QElapsedTimer opening;
        watchdog.start();
        opening.start();
        window = std::make_unique<frmRecords>(writer);
        window->show();
        waitFor([&] { return !window->Shown().isEmpty() && idle(*window); });
        paint();
        shownAfter.push_back(static_cast<double>(opening.nsecsElapsed()) / 1e6);
        watchdog.stop();
    }
    const Stalls opens = watchdog.take();
    std::printf("open the window with %lld games: rows shown and painted after median %.1f ms, max %.1f ms; "
                "interface-thread stall max %.2f ms, p99 %.2f ms\n",
                static_cast<long long>(window->Shown().size()), bench::median(shownAfter), bench::maxOf(shownAfter),
                opens.max, opens.p99);

    auto *items = window->findChild<QComboBox *>(QStringLiteral("cmbItems"));
    auto *period = window->findChild<QComboBox *>(QStringLiteral("cmbPeriod"));
    std::vector<double> filters;
    watchdog.start();
    for (int i = 0; i < TimedFilters; ++i) {
        QElapsedTimer filtering;
        filtering.start();
        QComboBox *box = i % 2 == 0 ? items : period;
        const int choice = i % 2 == 0 ? i / 2 % items->count() : i / 2 % period->count();
        box->setCurrentIndex(choice);
        emit box->activated(choice);
        waitFor([&] { return idle(*window); });
        paint();
        filters.push_back(static_cast<double>(filtering.nsecsElapsed()) / 1e6);
    }
    watchdog.stop();
    const Stalls filtering = watchdog.take();
    std::printf("change a filter up to the repainted window: median %.1f ms, max %.1f ms; stall max %.2f ms, p99 %.2f ms\n",
                bench::median(filters), bench::maxOf(filters), filtering.max, filtering.p99);

    items->setCurrentIndex(0);
    emit items->activated(0);
    period->setCurrentIndex(period->count() - 1);
    emit period->activated(period->count() - 1);
    waitFor([&] { return idle(*window); });

    // With the window open beside the game, each recorded game is taken into its views on the interface thread.
    // Two more receivers of recorded(), one connected before the window and one after, stamp its slot's work.
    std::optional<double> took;
    QObject::connect(&writer, &RecordWriter::recorded, &app,
                     [&] { took = static_cast<double>(takeIn.nsecsElapsed()) / 1e6; });
    std::vector<double> takeIns;
    watchdog.start();
    for (int i = 0; i < TimedRefreshes; ++i) {
        took.reset();
        const auto shown = window->Shown().size();
        writer.submit(randomGame(random, when));
        waitFor([&] { return took.has_value() && window->Shown().size() == shown + 1; });
        paint();
        takeIns.push_back(*took);
    }
    watchdog.stop();
    const Stalls taking = watchdog.take();
    std::printf("open window taking in one new game: interface-thread work median %.3f ms, max %.3f ms; "
                "stall max %.2f ms, p99 %.2f ms\n",
                bench::median(takeIns), bench::maxOf(takeIns), taking.max, taking.p99);

    std::vector<double> exports;
    int exported = 0;
    QObject::connect(&writer, &RecordWriter::exported, &app,
                     [&](const QString &, int count, const QString &problem) { exported = problem.isEmpty() ? count : -1; });
    watchdog.start();
    for (int i = 0; i < TimedExports; ++i) {
        exported = 0;
        QElapsedTimer exporting;
        exporting.start();
        window->ExportTo(dir.filePath(QStringLiteral("export.csv")));
        waitFor([&] { return exported != 0 && idle(*window); });
        if (exported < 0)
            return 1;
        exports.push_back(static_cast<double>(exporting.nsecsElapsed()) / 1e6);
    }
    watchdog.stop();
    const Stalls exporting = watchdog.take();
    std::printf("export %d games to CSV: done after median %.1f ms; stall max %.2f ms, p99 %.2f ms\n", exported,
                bench::median(exports), exporting.max, exporting.p99);

    // Another program holds the write lock while the window opens, and lets go a little later.
    window.reset();
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(path);
    if (!holder.open() || !QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")))
        return 1;
    double lockedShownAfter = 0;
    Stalls locked;
    {
        RecordWriter fresh(path);
        QElapsedTimer opening;
        watchdog.start();
        opening.start();
        frmRecords lockedWindow(fresh);
        lockedWindow.show();
        paint();
        QTimer::singleShot(1000, &app, [&] { QSqlQuery(holder).exec(QStringLiteral("COMMIT")); });
        waitFor([&] { return !lockedWindow.Shown().isEmpty() && idle(lockedWindow); });
        lockedShownAfter = static_cast<double>(opening.nsecsElapsed()) / 1e6;
        watchdog.stop();
        locked = watchdog.take();
    }
    holder.close();
    holder = {};
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    std::printf("open the window under a write lock held for 1 s: rows shown after %.0f ms; stall max %.2f ms, p99 %.2f ms\n",
                lockedShownAfter, locked.max, locked.p99);

    bench::summary("records with %d games (%s): insert median %.3f ms; hand-off median %.4f ms; interface-thread "
                   "stall max (p99) opening %.1f (%.1f) ms, filtering %.1f (%.1f) ms, exporting %.1f (%.1f) ms, taking in "
                   "a game %.1f (%.1f) ms, opening under a write lock %.1f (%.1f) ms; rows shown %.0f ms after opening; "
                   "a new game %.2f ms of interface-thread work",
                   HistoryGames, qPrintable(QGuiApplication::platformName()), bench::median(inserts),
                   bench::median(handOffs), opens.max, opens.p99, filtering.max, filtering.p99, exporting.max,
                   exporting.p99, taking.max, taking.p99, locked.max, locked.p99, bench::median(shownAfter),
                   bench::median(takeIns));
    return 0;
}
