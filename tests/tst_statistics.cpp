#include "records/CsvWriter.h"
#include "records/Statistics.h"

#include <QBuffer>
#include <QTest>

using namespace records;

Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(std::optional<double>)

namespace {

GameRecord game(Kind kind, Outcome outcome, qint64 elapsedMs, int items = 20)
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
    void movingMedianLooksBackAWindow_data();
    void movingMedianLooksBackAWindow();
    void bestTimePerItemCountCountsHitsOnly();
    void tablePerKind();
    void thinningKeepsTheExtremes_data();
    void thinningKeepsTheExtremes();
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

void TestStatistics::movingMedianLooksBackAWindow_data()
{
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<int>("window");
    QTest::addColumn<std::vector<double>>("expected");
    QTest::newRow("window of 3") << std::vector<double>{5, 1, 4, 2, 8} << 3 << std::vector<double>{5, 3, 4, 2, 4};
    QTest::newRow("fewer values than the window")
        << std::vector<double>{10, 20, 60} << 10 << std::vector<double>{10, 15, 20};
    QTest::newRow("an outlier leaves the window") << std::vector<double>{1, 100, 1, 1, 1} << 2
                                                  << std::vector<double>{1, 50.5, 50.5, 1, 1};
    QTest::newRow("empty") << std::vector<double>{} << 10 << std::vector<double>{};
}

void TestStatistics::movingMedianLooksBackAWindow()
{
    QFETCH(std::vector<double>, values);
    QFETCH(int, window);
    QFETCH(std::vector<double>, expected);
    QCOMPARE(movingMedian(values, window), expected);
}

void TestStatistics::bestTimePerItemCountCountsHitsOnly()
{
    const QList<GameRecord> games = {
        game(Kind::Colour, Outcome::Hit, 9000, 20),      game(Kind::Move, Outcome::Hit, 4000, 20),
        game(Kind::Colour, Outcome::GiveUp, 1000, 20),   game(Kind::Colour, Outcome::Abandoned, 500, 50),
        game(Kind::Vanish, Outcome::Hit, 15000, 50),     game(Kind::Vanish, Outcome::Hit, 12000, 50),
        game(Kind::Colour, Outcome::GiveUp, 800, 100),
    };
    const std::map<int, qint64> expected = {{20, 4000}, {50, 12000}};
    QCOMPARE(bestPerCount(games), expected);
}

void TestStatistics::tablePerKind()
{
    const QList<GameRecord> games = {
        game(Kind::Colour, Outcome::Hit, 3000),  game(Kind::Colour, Outcome::Hit, 5000),
        game(Kind::Colour, Outcome::Hit, 10000), game(Kind::Colour, Outcome::GiveUp, 2000),
        game(Kind::Move, Outcome::GiveUp, 7000), game(Kind::Move, Outcome::Abandoned, 1000),
    };
    const auto table = kindTable(games);
    const KindSummary &colour = table[size_t(Kind::Colour)];
    QCOMPARE(colour.games, 4);
    QCOMPARE(colour.hits, 3);
    QCOMPARE(colour.giveUps, 1);
    QCOMPARE(colour.hitRate, std::optional<double>(0.75));
    QCOMPARE(colour.medianMs, std::optional<double>(5000));
    QCOMPARE(colour.bestMs, std::optional<qint64>(3000));

    const KindSummary &move = table[size_t(Kind::Move)];
    QCOMPARE(move.games, 2);
    QCOMPARE(move.hits, 0);
    QCOMPARE(move.giveUps, 1);
    QCOMPARE(move.hitRate, std::optional<double>(0));
    QVERIFY(!move.medianMs && !move.bestMs);

    QCOMPARE(table[size_t(Kind::None)].games, 0);
    QVERIFY(!table[size_t(Kind::None)].hitRate);
}

void TestStatistics::thinningKeepsTheExtremes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("buckets");
    QTest::newRow("few points stay as they are") << 10 << 5;
    QTest::newRow("many points") << 100000 << 1000;
    QTest::newRow("not a multiple of the buckets") << 1001 << 7;
}

void TestStatistics::thinningKeepsTheExtremes()
{
    QFETCH(int, count);
    QFETCH(int, buckets);
    QList<QPointF> points;
    for (int i = 0; i < count; ++i)
        points.append(QPointF(i, (i * 7919) % 1009 + (i == count / 3 ? 5000 : 0)));
    const QList<QPointF> thin = thinned(points, buckets);

    QVERIFY(thin.size() <= 2 * buckets);
    QVERIFY(std::is_sorted(thin.begin(), thin.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); }));
    const auto byY = [](QPointF a, QPointF b) { return a.y() < b.y(); };
    QCOMPARE(*std::max_element(thin.begin(), thin.end(), byY), *std::max_element(points.begin(), points.end(), byY));
    QCOMPARE(std::min_element(thin.begin(), thin.end(), byY)->y(),
             std::min_element(points.begin(), points.end(), byY)->y());
    if (count <= 2 * buckets)
        QCOMPARE(thin, points);
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
    GameRecord record = game(Kind::LookAlike, Outcome::Hit, 12345, 30);
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
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeCsv(buffer, {record, game(Kind::None, Outcome::Abandoned, 500)}));
    const QList<QByteArray> lines = buffer.data().split('\n');
    QCOMPARE(lines.size(), 4); // the last line break leaves an empty piece
    QCOMPARE(lines[0], QByteArray("started,outcome,elapsed_s,kind,items,view_time_s,blank_time_s,columns,rows,"
                                  "answer1_column,answer1_row,answer2_column,answer2_row,misses,version,"
                                  "dropped_refreshes,mode,level\r"));
    QCOMPARE(lines[1], QByteArray("2026-12-07T10:00:00.000+09:00,hit,12.345,look-alike,30,3,0.3,10,6,4,2,4,2,2,1.0.0,3,training,30\r"));
    QVERIFY(lines[2].startsWith(",abandoned,0.500,none,20,"));
    QVERIFY(lines[3].isEmpty());
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
