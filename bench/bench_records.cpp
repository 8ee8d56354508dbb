// The records with a long history: 100 000 games in a fresh database. Measures one insert as the writer thread
// does it, the interface thread's share of recording a game, opening the records window up to its painted
// chart, a change of filter up to the repainted chart, and the CSV export of every game.
#include "dialogs/frmRecords.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"
#include "support/Figures.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
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
    record.kind = static_cast<Kind>(random.bounded(KindCount));
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

void paint(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.grab();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
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
        StoreOutcome outcome;
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
    std::vector<double> opens;
    std::unique_ptr<frmRecords> window;
    for (int i = 0; i < TimedOpens; ++i) {
        window.reset();
        opens.push_back(*msOf([&] {
            window = std::make_unique<frmRecords>(writer);
            window->show();
            paint(*window);
            return true;
        }));
    }
    std::printf("open the window with %lld games and paint it: median %.1f ms, max %.1f ms\n",
                static_cast<long long>(window->Shown().size()), bench::median(opens), bench::maxOf(opens));

    auto *items = window->findChild<QComboBox *>(QStringLiteral("cmbItems"));
    auto *period = window->findChild<QComboBox *>(QStringLiteral("cmbPeriod"));
    auto *chart = window->findChild<QChartView *>(QStringLiteral("chtTimes"));
    std::vector<double> filters;
    for (int i = 0; i < TimedFilters; ++i) {
        filters.push_back(*msOf([&] {
            if (i % 2 == 0) {
                items->setCurrentIndex(i / 2 % items->count());
                window->cmbItems_Click();
            } else {
                period->setCurrentIndex(i / 2 % period->count());
                window->cmbPeriod_Click();
            }
            paint(*chart);
            return true;
        }));
    }
    std::printf("change a filter and repaint the chart: median %.1f ms, max %.1f ms\n", bench::median(filters),
                bench::maxOf(filters));

    items->setCurrentIndex(0);
    period->setCurrentIndex(period->count() - 1);
    window->cmbItems_Click();

    // With the window open beside the game, each recorded game is taken into its views on the interface thread
    // (while the pictures flicker, right after a switch).
    std::vector<double> refreshes;
    for (int i = 0; i < TimedRefreshes; ++i) {
        writer.submit(randomGame(random, when));
        writer.flush();
        refreshes.push_back(*msOf([] {
            QCoreApplication::processEvents();
            return true;
        }));
    }
    std::printf("open window taking in one new game: median %.1f ms, max %.1f ms\n", bench::median(refreshes),
                bench::maxOf(refreshes));

    std::vector<double> exports;
    for (int i = 0; i < TimedExports; ++i) {
        const auto ms = msOf([&] {
            QEventLoop loop;
            QObject::connect(&writer, &RecordWriter::exported, &loop, &QEventLoop::quit);
            window->ExportTo(dir.filePath(QStringLiteral("export.csv")));
            loop.exec();
            return true;
        });
        if (!ms)
            return 1;
        exports.push_back(*ms);
    }
    std::printf("export %lld games to CSV: median %.1f ms, max %.1f ms\n",
                static_cast<long long>(window->Shown().size()), bench::median(exports), bench::maxOf(exports));

    bench::summary("records with %d games (%s): insert median %.3f ms; interface-thread hand-off median %.4f ms, "
                   "max %.3f ms; open window + chart median %.1f ms; filter change median %.1f ms, max %.1f ms; "
                   "CSV export median %.1f ms; open window taking in a new game median %.1f ms",
                   HistoryGames, qPrintable(QGuiApplication::platformName()), bench::median(inserts),
                   bench::median(handOffs), bench::maxOf(handOffs), bench::median(opens), bench::median(filters),
                   bench::maxOf(filters), bench::median(exports), bench::median(refreshes));
    return 0;
}
