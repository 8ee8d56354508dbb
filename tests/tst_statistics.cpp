#include "records/CsvWriter.h"
#include "records/ShownGames.h"
#include "records/Statistics.h"

#include <QBuffer>
#include <QTest>

using namespace records;

Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(std::optional<double>)

namespace {

GameRecord game(QuizKind kind, Outcome outcome, qint64 elapsedMs, int items = 20)
{
    GameRecord record;
    record.kind = kind;
    record.outcome = outcome;
    record.elapsedMs = elapsedMs;
    record.items = items;
    return record;
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void medianOfASample_data();
    void medianOfASample();
    void runningRankMatchesASortedSample_data();
    void runningRankMatchesASortedSample();
    void trendLooksBackTenHits_data();
    void trendLooksBackTenHits();
    void bestTimePerItemCountCountsHitsOnly();
    void tablePerKind();
    void bucketsKeepTheExtremes_data();
    void bucketsKeepTheExtremes();
    void scaleTopIsRound_data();
    void scaleTopIsRound();
    void csvFieldsQuoteWhatTheyMust_data();
    void csvFieldsQuoteWhatTheyMust();
    void csvHasAHeaderAndOneLinePerGame();
};

void TestStatistics::medianOfASample_data()
{
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<std::optional<double>>("expected");
    QTest::newRow("empty") << std::vector<double>{} << std::optional<double>{};
    QTest::newRow("one") << std::vector<double>{7} << std::optional<double>(7);
    QTest::newRow("odd, unsorted") << std::vector<double>{9, 1, 5} << std::optional<double>(5);
    QTest::newRow("even: mean of the middle two") << std::vector<double>{8, 2, 4, 6} << std::optional<double>(5);
    QTest::newRow("repeats") << std::vector<double>{3, 3, 1, 3} << std::optional<double>(3);
}

void TestStatistics::medianOfASample()
{
    QFETCH(std::vector<double>, values);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(median(values), expected);
}

void TestStatistics::runningRankMatchesASortedSample_data()
{
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<double>("share");
    QTest::addColumn<double>("rank");
    QTest::newRow("one") << std::vector<double>{7} << 0.5 << 7.0;
    QTest::newRow("falling") << std::vector<double>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0} << 0.5 << 4.0;
    QTest::newRow("95th of 21, outlier first") << std::vector<double>{3600, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                                       16, 17, 18, 19, 20, 21, 22, 23, 24}
                                               << 0.95 << 24.0;
    QTest::newRow("95th of 20: the largest but one") << std::vector<double>{20, 1, 19, 2, 18, 3, 17, 4, 16, 5, 15, 6,
                                                                             14, 7, 13, 8, 12, 9, 11, 10}
                                                     << 0.95 << 19.0;
    QTest::newRow("repeats") << std::vector<double>{3, 3, 1, 3} << 0.5 << 3.0;
}

void TestStatistics::runningRankMatchesASortedSample()
{
    QFETCH(std::vector<double>, values);
    QFETCH(double, share);
    QFETCH(double, rank);
    RunningRank running(share);
    RunningRank middle(0.5);
    for (size_t i = 0; i < values.size(); ++i) {
        running.add(values[i]);
        middle.add(values[i]);
        // Asked after every value, as a window does after every game.
        QCOMPARE(std::optional<double>(middle.middle()), median({values.begin(), values.begin() + long(i) + 1}));
    }
    QCOMPARE(running.nearestRank(), rank);
}

void TestStatistics::trendLooksBackTenHits_data()
{
    QTest::addColumn<std::vector<double>>("seconds"); // negative: a give-up
    QTest::addColumn<std::vector<double>>("expected");
    QTest::newRow("fewer hits than the window") << std::vector<double>{10, 20, 60} << std::vector<double>{10, 15, 20};
    QTest::newRow("give-ups are no hits") << std::vector<double>{10, -1, 30} << std::vector<double>{10, 20};
    QTest::newRow("an outlier leaves after ten hits")
        << std::vector<double>{100, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}
        << std::vector<double>{100, 50.5, 1, 1, 1, 1, 1, 1, 1, 1, 1};
}

void TestStatistics::trendLooksBackTenHits()
{
    QFETCH(std::vector<double>, seconds);
    QFETCH(std::vector<double>, expected);
    ShownGames shown(1, 0);
    std::vector<double> trend;
    for (double value : seconds) {
        shown.add(game(KindColor, value < 0 ? Outcome::GiveUp : Outcome::Hit, qint64(value * 1000)));
        if (const auto point = shown.buckets().back().trend)
            trend.push_back(point->y());
    }
    QCOMPARE(trend, expected);
}

void TestStatistics::bestTimePerItemCountCountsHitsOnly()
{
    const QList<GameRecord> games = {
        game(KindColor, Outcome::Hit, 9000, 20),      game(KindMove, Outcome::Hit, 4000, 20),
        game(KindColor, Outcome::GiveUp, 1000, 20),   game(KindColor, Outcome::Abandoned, 500, 50),
        game(KindVanish, Outcome::Hit, 15000, 50),     game(KindVanish, Outcome::Hit, 12000, 50),
        game(KindColor, Outcome::GiveUp, 800, 100),
    };
    ShownGames shown(1, 0);
    std::vector<int> changedRows;
    for (const GameRecord &record : games)
        changedRows.push_back(shown.add(record).bestRow);
    const std::map<int, qint64> expected = {{20, 4000}, {50, 12000}};
    QCOMPARE(shown.bestPerCount(), expected);
    QCOMPARE(changedRows, (std::vector<int>{0, 0, -1, -1, 1, 1, -1}));
}

void TestStatistics::tablePerKind()
{
    const QList<GameRecord> games = {
        game(KindColor, Outcome::Hit, 3000),  game(KindColor, Outcome::Hit, 5000),
        game(KindColor, Outcome::Hit, 10000), game(KindColor, Outcome::GiveUp, 2000),
        game(KindColor, Outcome::Abandoned, 500), game(KindMove, Outcome::GiveUp, 7000),
        game(KindMove, Outcome::Abandoned, 1000), game(KindVanish, Outcome::Abandoned, 1000),
    };
    ShownGames shown(1, 0);
    for (const GameRecord &record : games)
        shown.add(record);
    const KindSums &colour = shown.kind(KindColor);
    QCOMPARE(colour.games, 5);
    QCOMPARE(colour.hits, 3);
    QCOMPARE(colour.giveUps, 1);
    QCOMPARE(colour.abandoned, 1);
    // An abandoned game is no failure to find the change.
    QCOMPARE(ShownGames::hitRate(colour), std::optional<double>(0.75));
    QCOMPARE(colour.hitMs.middle(), 5000.0);
    QCOMPARE(colour.bestMs, std::optional<qint64>(3000));

    const KindSums &move = shown.kind(KindMove);
    QCOMPARE(move.games, 2);
    QCOMPARE(ShownGames::hitRate(move), std::optional<double>(0));
    QVERIFY(move.hitMs.empty() && !move.bestMs);
    QVERIFY(!ShownGames::hitRate(shown.kind(KindVanish)));
    QCOMPARE(shown.kind(KindNone).games, 0);
}

void TestStatistics::bucketsKeepTheExtremes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("bucketSize");
    QTest::newRow("a bucket per game") << 10 << 1;
    QTest::newRow("many games") << 100000 << 100;
    QTest::newRow("not a multiple of the bucket") << 1001 << 7;
}

void TestStatistics::bucketsKeepTheExtremes()
{
    QFETCH(int, count);
    QFETCH(int, bucketSize);
    ShownGames shown(bucketSize, 0);
    double slowest = 0;
    double fastest = 1e9;
    for (int i = 0; i < count; ++i) {
        const qint64 ms = (i * 7919) % 1009 * 10 + 10 + (i == count / 3 ? 50000 : 0);
        shown.add(game(KindColor, Outcome::Hit, ms));
        slowest = std::max(slowest, ms / 1000.0);
        fastest = std::min(fastest, ms / 1000.0);
    }
    QCOMPARE(int(shown.buckets().size()), (count + bucketSize - 1) / bucketSize);
    double drawnSlowest = 0;
    double drawnFastest = 1e9;
    for (size_t b = 0; b < shown.buckets().size(); ++b) {
        const ChartBucket &bucket = shown.buckets()[b];
        QVERIFY(bucket.fastest->x() > double(b * size_t(bucketSize)) && bucket.slowest->x() <= double((b + 1) * size_t(bucketSize)));
        drawnSlowest = std::max(drawnSlowest, bucket.slowest->y());
        drawnFastest = std::min(drawnFastest, bucket.fastest->y());
    }
    QCOMPARE(drawnSlowest, slowest);
    QCOMPARE(drawnFastest, fastest);
}

void TestStatistics::scaleTopIsRound_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("step");
    QTest::newRow("never below 10 s") << 3.0 << 10.0 << 1.0;
    QTest::newRow("28.8 s") << 28.8 << 30.0 << 5.0;
    QTest::newRow("exactly a step") << 40.0 << 40.0 << 5.0;
    QTest::newRow("two minutes and more") << 130.0 << 140.0 << 20.0;
    QTest::newRow("an hour") << 3600.0 << 4000.0 << 500.0;
}

void TestStatistics::scaleTopIsRound()
{
    QFETCH(double, seconds);
    QFETCH(double, top);
    QFETCH(double, step);
    QCOMPARE(ShownGames::roundedTop(seconds), top);
    QCOMPARE(ShownGames::stepOf(top), step);
}

void TestStatistics::csvFieldsQuoteWhatTheyMust_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << "2026-12-07T10:00:00.000+09:00" << QByteArray("2026-12-07T10:00:00.000+09:00");
    QTest::newRow("comma") << "1,2" << QByteArray("\"1,2\"");
    QTest::newRow("quote doubled") << "say \"hi\"" << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line break") << "a\r\nb" << QByteArray("\"a\r\nb\"");
    QTest::newRow("Japanese as UTF-8") << QStringLiteral("記録") << QByteArray("\xe8\xa8\x98\xe9\x8c\xb2");
}

void TestStatistics::csvFieldsQuoteWhatTheyMust()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    QCOMPARE(csvField(text), field);
}

void TestStatistics::csvHasAHeaderAndOneLinePerGame()
{
    GameRecord record = game(KindSimilarSymbol, Outcome::Hit, 12345, 30);
    record.started = QStringLiteral("2026-12-07T10:00:00.000+09:00");
    record.viewTime = 3;
    record.blankTime = 0.3;
    record.columns = 10;
    record.rows = 6;
    record.answer1Column = 4;
    record.answer1Row = 2;
    record.answer2Column = 4;
    record.answer2Row = 2;
    record.misses = 2;
    record.version = QStringLiteral("1.0.0");
    record.droppedRefreshes = 3;
    record.mode = Mode::Training;
    record.level = 30;
    record.screens = 40;
    record.screensOff = 1;
    record.worstScreenErrorMs = 16.6667;
    record.timing = QStringLiteral("presented");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeCsv(buffer, {record, game(KindNone, Outcome::Abandoned, 500)}));
    const QList<QByteArray> lines = buffer.data().split('\n');
    QCOMPARE(lines.size(), 4); // the last line break leaves an empty piece
    QCOMPARE(lines[0], QByteArray("started,outcome,elapsed_s,kind,items,view_time_s,blank_time_s,columns,rows,"
                                  "answer1_column,answer1_row,answer2_column,answer2_row,misses,version,"
                                  "dropped_refreshes,mode,level,screens,screens_off,worst_screen_error_ms,timing\r"));
    QCOMPARE(lines[1], QByteArray("2026-12-07T10:00:00.000+09:00,hit,12.345,look-alike,30,3,0.3,10,6,4,2,4,2,2,1.0.0,3,training,30,"
                                  "40,1,16.667,presented\r"));
    QVERIFY(lines[2].startsWith(",abandoned,0.500,none,20,"));
    // A game kept before the screens were counted says nothing of them, rather than 0.
    QVERIFY2(lines[2].endsWith(",free,0,,,,\r"), lines[2].constData());
    QVERIFY(lines[3].isEmpty());
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
