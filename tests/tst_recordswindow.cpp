#include "dialogs/RecordsChart.h"
#include "dialogs/frmRecords.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"
#include "support/Fakes.h"
#include "support/Received.h"

#include "platform/Translation.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QScrollBar>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QValueAxis>
#include <QXYSeries>
#include <QLabel>
#include <QStatusBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <QTimer>

#include <memory>

#include <time.h>

using namespace records;

namespace {

GameRecord played(const QDateTime &when, Outcome outcome, qint64 elapsedMs, int items = 20, QuizKind kind = KindColor)
{
    GameRecord game;
    game.started = when.toString(Qt::ISODateWithMs);
    game.startedMs = when.toMSecsSinceEpoch();
    game.outcome = outcome;
    game.elapsedMs = elapsedMs;
    game.items = items;
    game.kind = kind;
    game.version = QStringLiteral("1.0.0");
    return game;
}

QStringList rowTexts(const QAbstractItemModel *model, int row)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

QXYSeries *seriesNamed(frmRecords &window, const QString &name)
{
    for (QAbstractSeries *series : window.findChild<QChartView *>("chtTimes")->chart()->series())
        if (series->name() == name)
            return static_cast<QXYSeries *>(series);
    return nullptr;
}

void choose(frmRecords &window, const char *combo, const QVariant &data, const QString &text = {})
{
    auto *box = window.findChild<QComboBox *>(combo);
    const int index = text.isEmpty() ? box->findData(data) : box->findText(text);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// The status bar's line as the player reads it.
QString statusText(frmRecords &window)
{
    const auto *line = window.statusBar()->findChild<QLabel *>("lblStatus");
    return line ? line->text() : QStringLiteral("(no status line)");
}

// Another program holds the history exclusively: even a reader waits for it (in WAL mode a write transaction
// alone would keep no reader out). Closing the connection lets go.
void holdExclusively(QSqlDatabase &holder, const QString &path)
{
    holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(path);
    QVERIFY(holder.open());
    QSqlQuery lock(holder);
    QVERIFY(lock.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
    QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    QVERIFY(lock.exec(QStringLiteral("COMMIT")));
    HistoryStore reader(path, StoreOptions{200, 0});
    QCOMPARE(reader.read().outcome.status, StoreStatus::Busy);
}

void letGo(QSqlDatabase &holder)
{
    holder.close();
    holder = {};
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

// The chart is filled a series a turn after the tables.
void chartDrawn(frmRecords &window)
{
    QTRY_VERIFY(!window.findChild<QTimer *>("timChart")->isActive());
}

} // namespace

class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    void everyEndedGameIsOneRecord_data();
    void everyEndedGameIsOneRecord();
    void unwritableHistoryLeavesTheGameAlone();
    void flickeringGameIsTakenInAfterASwitch();
    void opensAtOnceUnderAWriteLock();
    void tablesFollowTheFilters_data();
    void tablesFollowTheFilters();
    void chartCountsGamesAndScalesToMostHits();
    void screensOffOrUnknown_data();
    void screensOffOrUnknown();
    void scaleNeverPassesThroughManyTicks_data();
    void scaleNeverPassesThroughManyTicks();
    void newGamesMatchAFreshReading();
    void gamesOfAnotherCopyAppear();
    void qtDialogsSpeakJapanese();
    void problemsInPlainWords_data();
    void problemsInPlainWords();
    void shortChartKeepsItsLabelsWhole();
    void tablesShowEveryColumn_data();
    void tablesShowEveryColumn();
    void statusSaysAllOfItAndNoMore_data();
    void statusSaysAllOfItAndNoMore();
    void saysLoadingUntilTheChartIsFilled();
    void midnightComesFromTheCalendar_data();
    void midnightComesFromTheCalendar();
};

void TestRecordsWindow::everyEndedGameIsOneRecord_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("misses");
    QTest::addColumn<int>("outcome"); // -1: no game
    QTest::addColumn<QString>("shown");
    QTest::newRow("hit") << "hit" << 0 << int(Outcome::Hit) << QStringLiteral("正解");
    QTest::newRow("hit after two misses") << "hit" << 2 << int(Outcome::Hit) << QStringLiteral("正解");
    QTest::newRow("give-up") << "give up" << 1 << int(Outcome::GiveUp) << QStringLiteral("ギブアップ");
    QTest::newRow("window closed while playing") << "close" << 0 << int(Outcome::Abandoned) << QString();
    QTest::newRow("start refused: no game") << "refuse" << 0 << -1 << QString();
}

void TestRecordsWindow::everyEndedGameIsOneRecord()
{
    QFETCH(QString, ending);
    QFETCH(int, misses);
    QFETCH(int, outcome);
    QFETCH(QString, shown);
    TestEnvironment env;
    Quiz quiz;
    {
        frmMain window;
        window.setWindowState(Qt::WindowNoState);
        window.show();
        if (ending == QLatin1String("refuse"))
            window.resize(100, 120);
        QTest::qWait(0);
        window.findChild<QAction *>("mnuRecords")->trigger();
        auto *records = window.findChild<frmRecords *>();
        QVERIFY(records && records->isVisible() && !records->isModal());
        QCOMPARE(records->windowTitle(), QStringLiteral("Ivok２の記録"));
        auto *today = records->findChild<QTableView *>("grdToday")->model();
        auto *kinds = records->findChild<QTableView *>("grdKinds")->model();

        env.clock.steady = 500;
        auto *start = window.findChild<QPushButton *>("cmdStart");
        QTest::mouseClick(start, Qt::LeftButton);
        quiz = window.CurrentQuiz();
        const auto label = [&window](int i) {
            return window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(i));
        };
        for (int miss = 0; miss < misses; ++miss)
            QTest::mouseClick(label(quiz.AnsNo == 0 ? 1 + miss : miss), Qt::LeftButton);
        env.clock.steady = 512.3456;
        if (ending == QLatin1String("hit"))
            QTest::mouseClick(label(quiz.AnsNo), Qt::LeftButton);
        else if (ending == QLatin1String("give up") || ending == QLatin1String("refuse"))
            QTest::mouseClick(start, Qt::LeftButton);
        else
            window.close();

        if (!shown.isEmpty()) {
            QTRY_COMPARE(today->rowCount(), 1);
            QCOMPARE(today->index(0, 1).data().toString(), shown);
            QCOMPARE(today->index(0, 2).data().toString(), QStringLiteral("12.35"));
            QCOMPARE(kinds->index(quiz.QuizType, 1).data().toString(), QStringLiteral("1"));
            QCOMPARE(records->Shown().size(), 1);
        }
    }
    // The main window is gone and with it the writer, which finishes every write first.
    if (outcome < 0) {
        QVERIFY(env.messages.shown.value(0).startsWith(QStringLiteral("画面が小さすぎる")));
        QVERIFY(!QFile::exists(env.historyPath()));
        return;
    }
    HistoryStore store(env.historyPath());
    const StoreRead read = store.read();
    QVERIFY2(read.outcome.done(), qPrintable(read.outcome.text));
    QCOMPARE(read.games.size(), 1);
    const GameRecord &record = read.games.first();
    QCOMPARE(int(record.outcome), outcome);
    QCOMPARE(record.misses, misses);
    QCOMPARE(record.elapsedMs, 12346);
    QCOMPARE(record.started, QStringLiteral("2026-12-07T10:00:00.000+09:00"));
    QCOMPARE(record.startedMs, env.clock.wall.toMSecsSinceEpoch());
    QCOMPARE(int(record.kind), int(quiz.QuizType));
    QCOMPARE(record.items, 20);
    QCOMPARE(record.viewTime, 3.0);
    QCOMPARE(record.blankTime, 0.3);
    QCOMPARE(record.columns, quiz.geometry.ColNum);
    QCOMPARE(record.rows, quiz.geometry.RowNum);
    QCOMPARE(record.answer1Column, quiz.Quiz1[size_t(quiz.AnsNo)].PosX);
    QCOMPARE(record.answer2Row, quiz.Quiz2[size_t(quiz.AnsNo)].PosY);
    QCOMPARE(record.version, QStringLiteral("1.0.0"));
}

void TestRecordsWindow::unwritableHistoryLeavesTheGameAlone()
{
    TestEnvironment env;
    // A data directory below a plain file cannot be made, whoever runs the test.
    const QString blocker = env.directory() + QStringLiteral("/blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + QStringLiteral("/data")));
    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    auto *start = window.findChild<QPushButton *>("cmdStart");
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(start->text(), QStringLiteral("スタート"));
    QCOMPARE(window.findChild<QLabel *>("lblAns")->text(), QStringLiteral("解答表示中"));
    QVERIFY(env.messages.shown.isEmpty());

    window.findChild<QAction *>("mnuRecords")->trigger();
    auto *records = window.findChild<frmRecords *>();
    QTRY_VERIFY(statusText(*records).contains(QStringLiteral("記録のフォルダーを作れません")));
    QCOMPARE(records->Shown().size(), 0);
}

void TestRecordsWindow::flickeringGameIsTakenInAfterASwitch()
{
    TestEnvironment env;
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    QTimer switches;
    switches.setInterval(1000);
    records.PaceBy([&switches] { return switches.isActive(); });
    connect(&switches, &QTimer::timeout, &records, &frmRecords::Switched);
    records.show();
    QTRY_VERIFY(statusText(records).isEmpty());
    const GameRecord game = played(env.clock.wall, Outcome::Hit, 5000);

    Received recorded(&writer, &RecordWriter::recorded);
    switches.start();
    writer.submit(game);
    QTRY_COMPARE(recorded.size(), 1);
    QCoreApplication::processEvents(); // the window has the game now, but waits for the switch
    QVERIFY(switches.remainingTime() > 0);
    QCOMPARE(records.Shown().size(), 0);
    QSignalSpy switched(&switches, &QTimer::timeout);
    QVERIFY(switched.wait());
    QTRY_COMPARE(records.Shown().size(), 1);

    // With the pictures at rest the game shows at once.
    switches.stop();
    writer.submit(game);
    QTRY_COMPARE(records.Shown().size(), 2);

    // The switch comes while a new chart is still being filled: the give-up that waited for it is drawn too.
    switches.start(60000);
    writer.submit(played(env.clock.wall, Outcome::GiveUp, 9000));
    QTRY_COMPARE(recorded.size(), 3);
    choose(records, "cmbPeriod", {}, QStringLiteral("すべて"));
    records.Switched();
    chartDrawn(records);
    QCOMPARE(records.Shown().size(), 3);
    QCOMPARE(seriesNamed(records, QStringLiteral("ギブアップ"))->points().size(), 1);
}

void TestRecordsWindow::opensAtOnceUnderAWriteLock()
{
    TestEnvironment env;
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append({played(env.clock.wall, Outcome::Hit, 4000), played(env.clock.wall, Outcome::GiveUp, 9000)}).done());
    }
    QSqlDatabase holder;
    holdExclusively(holder, env.historyPath());
    {
        // The reading waits up to ten seconds for the lock.
        RecordWriter writer(env.historyPath(), StoreOptions{});
        QElapsedTimer opening;
        opening.start();
        frmRecords records(writer);
        records.show();
        QCOMPARE(statusText(records), QStringLiteral("読み込み中…"));
        QCoreApplication::processEvents();
        // Far below the reading's wait: the window never waits for the file.
        QVERIFY2(opening.elapsed() < 1000, qPrintable(QString::number(opening.elapsed())));
        QCOMPARE(records.Shown().size(), 0);
        // The games come as soon as the other program lets go.
        letGo(holder);
        QTRY_COMPARE_WITH_TIMEOUT(records.Shown().size(), 2, 8000);
        QTRY_COMPARE(statusText(records), QString());
    }
}

void TestRecordsWindow::tablesFollowTheFilters_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QStringList>("colour");
    QTest::addColumn<int>("kindRows");
    QTest::addColumn<QStringList>("bests");
    QTest::addColumn<int>("todayRows");
    // 中断 counts as a game but not against the hit rate.
    QTest::newRow("every game") << 0 << QStringLiteral("すべて")
                                << QStringList{"色", "3", "1", "1", "1", "50%", "3.00", "3.00"} << 6
                                << QStringList{"20 3.00", "50 5.00"} << 4;
    QTest::newRow("50 symbols: なし is there") << 50 << QStringLiteral("すべて")
                                               << QStringList{"色", "0", "0", "0", "0", "---", "---", "---"} << 6
                                               << QStringList{"50 5.00"} << 1;
    QTest::newRow("20 symbols: no なし row") << 20 << QStringLiteral("すべて")
                                             << QStringList{"色", "3", "1", "1", "1", "50%", "3.00", "3.00"} << 5
                                             << QStringList{"20 3.00"} << 3;
    QTest::newRow("past 7 days leaves last month out")
        << 0 << QStringLiteral("過去7日") << QStringList{"色", "3", "1", "1", "1", "50%", "3.00", "3.00"} << 6
        << QStringList{"20 3.00", "50 8.00"} << 4;
}

void TestRecordsWindow::tablesFollowTheFilters()
{
    QFETCH(int, items);
    QFETCH(QString, period);
    QFETCH(QStringList, colour);
    QFETCH(int, kindRows);
    QFETCH(QStringList, bests);
    QFETCH(int, todayRows);
    TestEnvironment env;
    const QDateTime now = env.clock.wall;
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append({played(now.addDays(-20), Outcome::Hit, 5000, 50, KindMove),
                             played(now.addSecs(-3600), Outcome::Hit, 3000),
                             played(now.addSecs(-3000), Outcome::GiveUp, 2000),
                             played(now.addSecs(-2400), Outcome::Abandoned, 1000),
                             played(now.addSecs(-1800), Outcome::Hit, 8000, 50, KindNone)}).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 5);
    if (items != 0)
        choose(records, "cmbItems", items);
    choose(records, "cmbPeriod", {}, period);

    const QAbstractItemModel *kinds = records.findChild<QTableView *>("grdKinds")->model();
    const QAbstractItemModel *best = records.findChild<QTableView *>("grdBest")->model();
    const QAbstractItemModel *today = records.findChild<QTableView *>("grdToday")->model();
    QCOMPARE(kinds->headerData(4, Qt::Horizontal).toString(), QStringLiteral("中断"));
    QCOMPARE(rowTexts(kinds, 0), colour);
    QCOMPARE(kinds->rowCount(), kindRows);
    QStringList bestTexts;
    for (int row = 0; row < best->rowCount(); ++row)
        bestTexts.append(rowTexts(best, row).join(' '));
    QCOMPARE(bestTexts, bests);
    QCOMPARE(today->rowCount(), todayRows);
}

void TestRecordsWindow::screensOffOrUnknown_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("line");
    QTest::newRow("kept before screens were counted") << 1 << QStringLiteral("ずれた画面 不明");
    QTest::newRow("every screen right") << 2 << QStringLiteral("ずれた画面 0");
    QTest::newRow("two screens off") << 3 << QStringLiteral("ずれた画面 2");
}

// A game's hover text says how many of its screens were off; the games kept before that was counted are
// unknown, neither in the hover text nor in the count of games with screens off read as right.
void TestRecordsWindow::screensOffOrUnknown()
{
    QFETCH(int, game);
    QFETCH(QString, line);
    TestEnvironment env;
    QList<GameRecord> games;
    for (const int off : {-1, 0, 2}) {
        GameRecord record = played(env.clock.wall.addSecs(-600 + 60 * games.size()), Outcome::Hit, 5000);
        record.screensOff = off;
        games.append(record);
    }
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(games).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 3);
    chartDrawn(records);
    auto *chart = records.findChild<RecordsChart *>("chtTimes");
    QCOMPARE(chart->chart()->axes(Qt::Horizontal).value(0)->titleText(),
             QStringLiteral("ゲーム（3 回、画面がずれたゲーム 1 回、不明 1 回）"));
    // The pointer over a hit, as the chart hears of it.
    emit const_cast<QXYSeries *>(seriesNamed(records, QStringLiteral("正解")))->hovered(QPointF(game, 5), true);
    QVERIFY2(QToolTip::text().endsWith(QLatin1Char('\n') + line), qPrintable(QToolTip::text()));
}

void TestRecordsWindow::chartCountsGamesAndScalesToMostHits()
{
    TestEnvironment env;
    // One evening: twenty hits of 5 to 24 s a few minutes apart, every other one a training game, then a
    // game left running for an hour.
    QList<GameRecord> evening;
    for (int i = 0; i < 20; ++i) {
        GameRecord game = played(env.clock.wall.addSecs(-7200 + 180 * i), Outcome::Hit, 5000 + 1000 * i);
        if (i % 2 == 1) {
            game.mode = Mode::Training;
            game.level = 5 * i;
        }
        evening.append(game);
    }
    evening.append(played(env.clock.wall.addSecs(-60), Outcome::Hit, 3600000));
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(evening).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 21);
    chartDrawn(records);

    QChart *chart = records.findChild<QChartView *>("chtTimes")->chart();
    auto *games = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Horizontal).value(0));
    QVERIFY(games);
    QCOMPARE(games->min(), 0.0);
    QCOMPARE(games->max(), 22.0);
    const QList<QPointF> hits = seriesNamed(records, QStringLiteral("正解"))->points();
    QCOMPARE(hits.size(), 20);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(hits[i], QPointF(i + 1, 5 + i));
    // The 95th percentile of the hits is 24 s; × 1.2 rounds up to 30. The hour-long game sits on the top.
    auto *seconds = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical, seriesNamed(records, QStringLiteral("正解"))).value(0));
    QCOMPARE(seconds->max(), 30.0);
    QCOMPARE(seriesNamed(records, QStringLiteral("上端より遅い正解"))->points(), QList<QPointF>{QPointF(21, 30)});
    const QList<QPointF> levels = seriesNamed(records, QStringLiteral("レベル"))->points();
    QCOMPARE(levels.size(), 10);
    QCOMPARE(levels.first(), QPointF(2, 5));
    QCOMPARE(levels.last(), QPointF(20, 95));

    // Drawn on screen in the colour the legend gives them.
    auto *view = records.findChild<QChartView *>("chtTimes");
    auto *hitSeries = seriesNamed(records, QStringLiteral("正解"));
    const QImage pixels = view->grab().toImage();
    const QPoint at = view->mapFromScene(chart->mapToScene(chart->mapToPosition(hits[4], hitSeries)));
    QCOMPARE(pixels.pixelColor(at * pixels.devicePixelRatio()).rgb(), hitSeries->color().rgb());

    // The same games through another filter: the same scale.
    choose(records, "cmbItems", 20);
    chartDrawn(records);
    QCOMPARE(records.Shown().size(), 21);
    QCOMPARE(seconds->max(), 30.0);
}

void TestRecordsWindow::scaleNeverPassesThroughManyTicks_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<double>("top");
    QTest::newRow("opens on slow hits: grows") << 0 << 120.0;
    QTest::newRow("fast hits chosen: shrinks") << 20 << 10.0;
}

void TestRecordsWindow::scaleNeverPassesThroughManyTicks()
{
    QFETCH(int, items);
    QFETCH(double, top);
    TestEnvironment env;
    QList<GameRecord> games;
    for (int i = 0; i < 20; ++i) {
        games.append(played(env.clock.wall.addSecs(-3600 + 60 * i), Outcome::Hit, 100000, 50));
        games.append(played(env.clock.wall.addSecs(-3570 + 60 * i), Outcome::Hit, 3000, 20));
    }
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(games).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    auto *seconds = qobject_cast<QValueAxis *>(
        records.findChild<QChartView *>("chtTimes")->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(seconds);
    // Every tick is a label laid out at once: a scale passing through a small step on a long range stalls.
    int mostTicks = 0;
    const auto count = [&] { mostTicks = std::max(mostTicks, qRound((seconds->max() - seconds->min()) / seconds->tickInterval())); };
    connect(seconds, &QValueAxis::rangeChanged, this, count);
    connect(seconds, &QValueAxis::tickIntervalChanged, this, count);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 40);
    if (items != 0) {
        mostTicks = 0;
        choose(records, "cmbItems", items);
    }
    QCOMPARE(seconds->max(), top);
    QVERIFY2(mostTicks > 0 && mostTicks <= 10, qPrintable(QString::number(mostTicks)));
}

void TestRecordsWindow::newGamesMatchAFreshReading()
{
    TestEnvironment env;
    {
        // Enough games that the chart draws two to a point, so that a new game joins a point already drawn.
        QList<GameRecord> earlier;
        for (int i = 0; i < 1200; ++i)
            earlier.append(played(env.clock.wall.addDays(-1).addSecs(i), i % 7 ? Outcome::Hit : Outcome::GiveUp,
                                  1000 + i * 37 % 20000));
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(earlier).done());
    }
    RecordWriter writer(env.historyPath());
    // Written before the window's reading, so recorded() brings it before the reading does: counted once.
    writer.submit(played(env.clock.wall.addSecs(-900), Outcome::Hit, 2000));
    frmRecords records(writer);
    records.show();
    QTRY_VERIFY(statusText(records).isEmpty());
    QCOMPARE(records.Shown().size(), 1201);
    const QList<Outcome> outcomes = {Outcome::Hit, Outcome::GiveUp, Outcome::Hit, Outcome::Abandoned, Outcome::Hit};
    for (int i = 0; i < 14; ++i) {
        GameRecord game = played(env.clock.wall.addSecs(-600 + i), outcomes[i % outcomes.size()], 2000 + 3000 * i,
                                 i % 3 == 0 ? 50 : 20, static_cast<QuizKind>(i % records::RecordedKindCount));
        game.mode = i % 4 == 0 ? Mode::Training : Mode::Free;
        game.level = game.mode == Mode::Training ? 10 + i : 0;
        writer.submit(game);
    }
    QTRY_COMPARE(records.Shown().size(), 1215);
    chartDrawn(records);

    const auto everything = [&records] {
        QStringList texts;
        for (const char *table : {"grdKinds", "grdBest", "grdToday"}) {
            const QAbstractItemModel *model = records.findChild<QTableView *>(table)->model();
            for (int row = 0; row < model->rowCount(); ++row)
                texts.append(rowTexts(model, row).join(' '));
        }
        for (const char *name : {"正解", "上端より遅い正解", "直近10回の中央値", "ギブアップ", "レベル"})
            for (const QPointF &point : seriesNamed(records, QString::fromUtf8(name))->points())
                texts.append(QStringLiteral("%1 %2,%3").arg(QString::fromUtf8(name)).arg(point.x()).arg(point.y()));
        return texts;
    };
    const QStringList taken = everything();
    QVERIFY(taken.contains(QStringLiteral("レベル 1214,22")));
    choose(records, "cmbPeriod", {}, QStringLiteral("すべて"));
    chartDrawn(records);
    QCOMPARE(taken, everything());
}

void TestRecordsWindow::gamesOfAnotherCopyAppear()
{
    TestEnvironment env;
    HistoryStore other(env.historyPath());
    QVERIFY(other.append({played(env.clock.wall, Outcome::Hit, 4000)}).done());
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 1);
    Received changed(&writer, &RecordWriter::historyChanged);
    QVERIFY(other.append({played(env.clock.wall, Outcome::GiveUp, 7000)}).done());
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 8000);
    QTRY_COMPARE(records.Shown().size(), 2);

    // Hidden, it stops looking; shown again, it reads afresh.
    records.hide();
    QVERIFY(other.append({played(env.clock.wall, Outcome::Hit, 3000)}).done());
    records.show();
    QTRY_COMPARE(records.Shown().size(), 3);
}

void TestRecordsWindow::qtDialogsSpeakJapanese()
{
    QVERIFY(platform::applyLanguage(QStringLiteral("ja")));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Save"), QStringLiteral("保存(&S)"));
}

void TestRecordsWindow::problemsInPlainWords_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a reason in brackets stays") << QStringLiteral("記録ファイル /a/history.sqlite を使えません（エラー番号 1）。")
                                                << QStringLiteral("記録ファイル /a/history.sqlite を使えません（エラー番号 1）。");
    QTest::newRow("a path stays") << QStringLiteral("記録のフォルダーを作れません（/home/a/.local/share/ivok2）")
                                  << QStringLiteral("記録のフォルダーを作れません（/home/a/.local/share/ivok2）");
}

void TestRecordsWindow::problemsInPlainWords()
{
    QFETCH(QString, problem);
    QFETCH(QString, shown);
    TestEnvironment env;
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_VERIFY(statusText(records).isEmpty());
    emit writer.problemChanged(problem);
    QCOMPARE(statusText(records), shown);
}

void TestRecordsWindow::tablesShowEveryColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("per kind") << "grdKinds";
    QTest::newRow("best per symbol count") << "grdBest";
    QTest::newRow("today") << "grdToday";
}

void TestRecordsWindow::shortChartKeepsItsLabelsWhole()
{
    TestEnvironment env;
    {
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append({played(env.clock.wall.addSecs(-60), Outcome::Hit, 9000)}).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 1);
    chartDrawn(records);
    // A screen too low for the tables and a tall chart: the chart gets little height.
    auto *view = records.findChild<QChartView *>("chtTimes");
    view->setFixedHeight(260);
    QTRY_COMPARE(view->height(), 260);
    QCoreApplication::processEvents();
    QStringList labels;
    for (QGraphicsItem *item : view->scene()->items()) {
        if (!item->isVisible())
            continue;
        if (const auto *rich = dynamic_cast<QGraphicsTextItem *>(item))
            labels.append(rich->toPlainText());
        else if (const auto *simple = dynamic_cast<QGraphicsSimpleTextItem *>(item))
            labels.append(simple->text());
    }
    QVERIFY2(labels.contains(QStringLiteral("0")), qPrintable(labels.join(QLatin1String(" | "))));
    for (const QString &label : labels)
        QVERIFY2(!label.endsWith(QLatin1String("...")), qPrintable(labels.join(QLatin1String(" | "))));
}

void TestRecordsWindow::tablesShowEveryColumn()
{
    QFETCH(QString, table);
    TestEnvironment env;
    {
        // Every kind, the widest numbers and more of today's games than the table has room for.
        QList<GameRecord> games;
        for (int i = 0; i < 30; ++i)
            games.append(played(env.clock.wall.addSecs(-60 * (30 - i)), static_cast<Outcome>(i % 3), 123456 + i,
                                i % 2 ? 100 : 5, static_cast<QuizKind>(i % records::RecordedKindCount)));
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(games).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(records.Shown().size(), 30);
    auto *view = records.findChild<QTableView *>(table);
    const QHeaderView *header = view->horizontalHeader();
    const auto hidden = [&] {
        QStringList columns;
        if (view->horizontalScrollBar()->isVisible())
            columns.append(QStringLiteral("a scroll bar"));
        for (int column = 0; column < header->count(); ++column) {
            // Each text of the column whole, the header's included.
            int needed = header->fontMetrics().horizontalAdvance(view->model()->headerData(column, Qt::Horizontal).toString());
            for (int row = 0; row < view->model()->rowCount(); ++row)
                needed = std::max(needed, view->fontMetrics().horizontalAdvance(view->model()->index(row, column).data().toString()));
            if (header->sectionViewportPosition(column) + header->sectionSize(column) > view->viewport()->width()
                || header->sectionSize(column) < needed)
                columns.append(QStringLiteral("%1 at %2 + %3 of %4 in %5")
                                   .arg(view->model()->headerData(column, Qt::Horizontal).toString())
                                   .arg(header->sectionViewportPosition(column))
                                   .arg(header->sectionSize(column))
                                   .arg(needed)
                                   .arg(view->viewport()->width()));
        }
        return columns;
    };
    QTRY_VERIFY2(hidden().isEmpty(), qPrintable(hidden().join(QStringLiteral("; "))));
    QCOMPARE(records.size(), QSize(1080, 720));
}

void TestRecordsWindow::statusSaysAllOfItAndNoMore_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("advice"); // the last words of the message
    QTest::newRow("the file held by another program") << "held" << "書き込めるようになりしだい記録します。";
    QTest::newRow("the folder cannot be made") << "no folder" << "書き込めるようになりしだい記録します。";
    QTest::newRow("an export to a folder that is not there") << "export" << "書き込める場所を選んでください。）";
}

void TestRecordsWindow::statusSaysAllOfItAndNoMore()
{
    QFETCH(QString, trouble);
    QFETCH(QString, advice);
    TestEnvironment env;
    // A long path, as a player's may be.
    const QString blocker = env.directory() + QStringLiteral("/a-rather-long-folder-name-for-the-history/blocker");
    QVERIFY(QDir().mkpath(QFileInfo(blocker).path()));
    QString path = env.historyPath();
    if (trouble == QLatin1String("no folder")) {
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        path = blocker + QStringLiteral("/ivok2/history.sqlite");
    } else if (trouble == QLatin1String("held")) {
        path = QFileInfo(blocker).path() + QStringLiteral("/history.sqlite");
        HistoryStore seed(path);
        QVERIFY(seed.append({played(env.clock.wall, Outcome::Hit, 4000)}).done());
    }
    RecordWriter writer(path);
    frmRecords records(writer);
    records.show();
    QTRY_COMPARE(statusText(records), QString());
    const qsizetype before = records.Shown().size();
    // Another program's write transaction keeps the game out.
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(path);
    if (trouble == QLatin1String("held")) {
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    if (trouble == QLatin1String("export"))
        records.ExportTo(blocker + QStringLiteral("/records.csv"));
    else
        writer.submit(played(env.clock.wall, Outcome::Hit, 5000));

    QTRY_VERIFY_WITH_TIMEOUT(statusText(records).endsWith(advice), 8000);
    // Whole: the line wraps within the window rather than cut what does not fit.
    const auto *line = records.statusBar()->findChild<QLabel *>("lblStatus");
    const auto unshown = [&] {
        const QRect room = line->contentsRect();
        const QRect needed = line->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, line->text());
        if (needed.width() <= room.width() && needed.height() <= room.height()
            && records.rect().contains(QRect(line->mapTo(&records, room.topLeft()), room.size())))
            return QString();
        return QStringLiteral("%1 × %2 in %3 × %4").arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
    };
    QTRY_COMPARE(unshown(), QString());
    if (trouble == QLatin1String("export")) {
        letGo(holder);
        return;
    }

    // Once the game is written, the problem is gone from the window too.
    if (trouble == QLatin1String("held"))
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("COMMIT")));
    else
        QVERIFY(QFile::remove(blocker));
    letGo(holder);
    QTRY_COMPARE_WITH_TIMEOUT(records.Shown().size(), before + 1, 8000);
    QTRY_COMPARE(statusText(records), QString());
}

void TestRecordsWindow::saysLoadingUntilTheChartIsFilled()
{
    TestEnvironment env;
    // Long enough that the views are built over several turns.
    constexpr int Count = 20000;
    {
        QList<GameRecord> games;
        for (int i = 0; i < Count; ++i)
            games.append(played(env.clock.wall.addSecs(-Count + i), i % 5 ? Outcome::Hit : Outcome::GiveUp, 1000 + i % 20000));
        HistoryStore seed(env.historyPath());
        QVERIFY(seed.append(games).done());
    }
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    QChart *chart = records.findChild<QChartView *>("chtTimes")->chart();
    const QAbstractAxis *games = chart->axes(Qt::Horizontal).value(0);
    const QXYSeries *hits = seriesNamed(records, QStringLiteral("正解"));
    // What the player sees at every turn of the event loop.
    QStringList seen;
    QTimer turns;
    turns.setInterval(0);
    connect(&turns, &QTimer::timeout, this, [&] {
        const QString state = QStringLiteral("%1 | %2 | %3 hits").arg(statusText(records), games->titleText()).arg(hits->count());
        if (seen.isEmpty() || seen.last() != state)
            seen.append(state);
    });
    turns.start();
    records.show();
    QTRY_VERIFY_WITH_TIMEOUT(records.Shown().size() == Count && statusText(records).isEmpty(), 10000);
    chartDrawn(records);
    QCoreApplication::processEvents();
    turns.stop();
    // Loading, then the whole chart: never an empty chart that says no games, nor a chart half drawn.
    const QString drawn
        = QStringLiteral(" | ゲーム（%1 回、画面がずれたゲーム 0 回、不明 %1 回） | %2 hits").arg(Count).arg(hits->count());
    QVERIFY(hits->count() > 0);
    QCOMPARE(seen.last(), drawn);
    for (const QString &state : seen.first(seen.size() - 1))
        QVERIFY2(state.startsWith(QStringLiteral("読み込み中… | 読み込み中… | ")), qPrintable(seen.join('\n')));
}

void TestRecordsWindow::midnightComesFromTheCalendar_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("untilMidnightS");
    // Berlin's summer time ends on 26 October 2025 (a 25-hour day) and starts on 30 March 2025 (23 hours).
    QTest::newRow("a 25-hour day, in the morning") << QDateTime(QDate(2025, 10, 26), QTime(10, 0)) << qint64(14 * 3600);
    QTest::newRow("a 25-hour day, at 23:00") << QDateTime(QDate(2025, 10, 26), QTime(23, 0)) << qint64(3600);
    QTest::newRow("the day before, just before midnight") << QDateTime(QDate(2025, 10, 25), QTime(23, 59, 30)) << qint64(30);
    QTest::newRow("a 23-hour day") << QDateTime(QDate(2025, 3, 30), QTime(10, 0)) << qint64(14 * 3600);
    QTest::newRow("an ordinary day") << QDateTime(QDate(2025, 6, 10), QTime(10, 0)) << qint64(14 * 3600);
}

void TestRecordsWindow::midnightComesFromTheCalendar()
{
    QFETCH(QDateTime, now);
    QFETCH(qint64, untilMidnightS);
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const auto restore = qScopeGuard([&zone] {
        if (zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        tzset();
    });
    TestEnvironment env;
    // The rows' times are Berlin's local times: read them again now that the zone is set.
    env.clock.wall = QDateTime(now.date(), now.time(), Qt::LocalTime);
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    records.show();
    const auto *midnight = records.findChild<QTimer *>("timMidnight");
    QVERIFY(midnight->isActive());
    // A second after midnight, so that the clock has surely turned.
    QCOMPARE(midnight->interval(), untilMidnightS * 1000 + 1000);
}

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
