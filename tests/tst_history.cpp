#include "records/HistoryStore.h"
#include "records/RecordWriter.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedScope.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace records;

namespace {

GameRecord game(int n)
{
    GameRecord record;
    const QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::OffsetFromUTC, 9 * 3600).addSecs(n * 60);
    record.started = start.toString(Qt::ISODateWithMs);
    record.startedMs = start.toMSecsSinceEpoch();
    record.outcome = static_cast<Outcome>(n % 3);
    record.elapsedMs = 1000 + n;
    record.kind = static_cast<Kind>(n % KindCount);
    record.items = 20 + n % 2 * 30;
    record.viewTime = 3;
    record.blankTime = 0.3;
    record.columns = 22;
    record.rows = 8;
    record.answer1Column = n % 22;
    record.answer1Row = n % 8;
    record.answer2Column = (n + 1) % 22;
    record.answer2Row = n % 8;
    record.misses = n % 4;
    record.version = QStringLiteral("1.0.0");
    record.droppedRefreshes = n % 5;
    record.mode = n % 2 == 0 ? Mode::Free : Mode::Training;
    record.level = record.mode == Mode::Training ? 5 + n % 20 * 5 : 0;
    return record;
}

QList<GameRecord> games(int from, int count)
{
    QList<GameRecord> list;
    for (int n = from; n < from + count; ++n)
        list.append(game(n));
    return list;
}

int userVersion(const QString &path)
{
    int version = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            version = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return version;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void appendReopenAndFilter_data();
    void appendReopenAndFilter();
    void twoWritersLoseNothing();
    void upgradeFromTheFirstSchema();
    void damagedFileIsMovedAside();
    void readOnlyDirectoryReportsAndKeepsNothing();
    void writerRecordsOffTheCallingThread();

private:
    QTemporaryDir m_dir;
};

void TestHistory::appendReopenAndFilter_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("sinceMinute");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("everything") << 0 << 0 << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("one item count") << 50 << 0 << QList<int>{1, 3, 5};
    QTest::newRow("since a time") << 0 << 4 << QList<int>{4, 5};
    QTest::newRow("both") << 20 << 1 << QList<int>{2, 4};
}

void TestHistory::appendReopenAndFilter()
{
    QFETCH(int, items);
    QFETCH(int, sinceMinute);
    QFETCH(QList<int>, expected);
    const QString path = m_dir.filePath(QStringLiteral("%1/sub/history.sqlite").arg(QTest::currentDataTag()));
    {
        HistoryStore store(path);
        QVERIFY(store.append(games(0, 2)));
        QVERIFY2(store.append(games(2, 4)), qPrintable(store.message()));
    }
    HistoryStore reopened(path);
    const auto read = reopened.read({items, game(sinceMinute).startedMs});
    QVERIFY(read);
    QList<GameRecord> want;
    for (int n : expected)
        want.append(game(n));
    QCOMPARE(*read, want);
    QCOMPARE(userVersion(path), HistoryStore::SchemaVersion);
}

void TestHistory::twoWritersLoseNothing()
{
    // Two connections, as two running copies of the game hold, each committing one game at a time.
    const QString path = m_dir.filePath(QStringLiteral("two/history.sqlite"));
    constexpr int PerWriter = 40;
    auto writeFrom = [&path](int from) {
        return QThread::create([path, from] {
            HistoryStore store(path);
            for (int n = from; n < from + PerWriter; ++n) {
                if (!store.append({game(n)}))
                    qFatal("lost a game: %s", qPrintable(store.message()));
            }
        });
    };
    std::unique_ptr<QThread> first(writeFrom(0));
    std::unique_ptr<QThread> second(writeFrom(1000));
    first->start();
    second->start();
    QVERIFY(first->wait(60000));
    QVERIFY(second->wait(60000));
    HistoryStore store(path);
    QCOMPARE(store.read()->size(), 2 * PerWriter);
}

void TestHistory::upgradeFromTheFirstSchema()
{
    const QString path = m_dir.filePath(QStringLiteral("old.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const char *statement : {
                 "CREATE TABLE games (id INTEGER PRIMARY KEY, started TEXT NOT NULL, outcome TEXT NOT NULL,"
                 " elapsed_ms INTEGER NOT NULL, kind TEXT NOT NULL, items INTEGER NOT NULL, view_time REAL NOT NULL,"
                 " blank_time REAL NOT NULL, columns INTEGER NOT NULL, rows INTEGER NOT NULL,"
                 " answer1_column INTEGER NOT NULL, answer1_row INTEGER NOT NULL, answer2_column INTEGER NOT NULL,"
                 " answer2_row INTEGER NOT NULL, version TEXT NOT NULL)",
                 "INSERT INTO games VALUES (1, '2026-12-07T09:05:00.250+09:00', 'giveup', 4321, 'vanish', 30, 1.5, 0.2,"
                 " 22, 8, 3, 4, 3, 4, '1.0.0')",
                 "PRAGMA user_version = 1"})
            QVERIFY2(query.exec(QString::fromLatin1(statement)), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));

    HistoryStore store(path);
    QVERIFY2(store.append({game(10)}), qPrintable(store.message()));
    const auto read = store.read();
    QVERIFY(read);
    QCOMPARE(read->size(), 2);
    const GameRecord &old = read->at(0);
    QCOMPARE(old.startedMs, QDateTime(QDate(2026, 12, 7), QTime(0, 5, 0, 250), Qt::UTC).toMSecsSinceEpoch());
    QCOMPARE(old.outcome, Outcome::GiveUp);
    QCOMPARE(old.kind, Kind::Vanish);
    QCOMPARE(old.elapsedMs, 4321);
    QCOMPARE(old.misses, 0);
    QCOMPARE(old.mode, Mode::Free);
    QCOMPARE(old.level, 0);
    QCOMPARE(read->at(1), game(10));
    QCOMPARE(userVersion(path), HistoryStore::SchemaVersion);
}

void TestHistory::damagedFileIsMovedAside()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QByteArray junk = QByteArray("no database here, only text\n").repeated(200);
    writeFile(path, junk);

    HistoryStore store(path);
    QVERIFY2(store.append({game(1)}), qPrintable(store.message()));
    QVERIFY(store.message().contains(QStringLiteral("history.sqlite.damaged-")));
    const QStringList moved = QDir(dir.path()).entryList({QStringLiteral("history.sqlite.damaged-*")});
    QCOMPARE(moved.size(), 1);
    QCOMPARE(readFile(dir.filePath(moved[0])), junk);
    QCOMPARE(*store.read(), QList<GameRecord>{game(1)});
}

void TestHistory::readOnlyDirectoryReportsAndKeepsNothing()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    UnprivilegedScope unprivileged({dir.path()});
    QVERIFY(unprivileged.ok());
    HistoryStore store(path);
    QVERIFY(!store.append({game(1)}));
    QVERIFY(!store.message().isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestHistory::writerRecordsOffTheCallingThread()
{
    const QString path = m_dir.filePath(QStringLiteral("writer/history.sqlite"));
    RecordWriter writer(path);
    QList<GameRecord> recorded;
    connect(&writer, &RecordWriter::recorded, this, [&recorded](const GameRecord &record) { recorded << record; });
    writer.submit(game(1));
    writer.submit(game(2));
    QTRY_COMPARE(recorded, games(1, 2));
    QVERIFY(writer.problem().isEmpty());

    RecordWriter blocked(m_dir.filePath(QStringLiteral("writer/history.sqlite/not-a-directory/h.sqlite")));
    QStringList problems;
    connect(&blocked, &RecordWriter::problemChanged, this, [&problems](const QString &problem) { problems << problem; });
    blocked.submit(game(3));
    QTRY_COMPARE(problems.size(), 1);
    QCOMPARE(blocked.problem(), problems[0]);
    QVERIFY(problems[0].contains(QStringLiteral("not-a-directory")));
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
