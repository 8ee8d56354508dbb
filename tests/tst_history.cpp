#include "records/HistoryLocation.h"
#include "records/HistoryStore.h"
#include "records/PendingGames.h"
#include "records/RecordWriter.h"
#include "support/Received.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedScope.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

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
    record.kind = static_cast<QuizKind>(n % RecordedKindCount);
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
    // Every third game as an older one, whose screens are unknown.
    if (n % 3 != 0) {
        record.screens = 40 + n % 9;
        record.screensOff = n % 3;
        record.worstScreenErrorMs = n % 3 * 16.5;
        record.timing = n % 2 == 0 ? QStringLiteral("presented") : QStringLiteral("timer");
    }
    record.key = QStringLiteral("%1-%2").arg(record.startedMs).arg(n, 16, 16, QLatin1Char('0'));
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

// A connection of the test's own, as another program holds one.
class Probe
{
public:
    explicit Probe(const QString &path)
        : m_name(QStringLiteral("probe-%1").arg(++count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Probe()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        return query.exec(statement);
    }
    qint64 value(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        return query.exec(statement) && query.next() ? query.value(0).toLongLong() : -1;
    }

private:
    static inline int count = 0;
    QString m_name;
};

QList<GameRecord> readAll(const QString &path, HistoryStore::Fields fields = HistoryStore::Fields::All)
{
    HistoryStore store(path);
    return store.read({}, fields).games;
}

// The line a game has in a pending file.
QByteArray pendingLine(const GameRecord &record)
{
    QTemporaryDir dir;
    appendPending(dir.filePath(QStringLiteral("p")), {record});
    return readFile(dir.filePath(QStringLiteral("p")));
}

// $XDG_STATE_HOME for as long as it lives.
class StateHome
{
public:
    explicit StateHome(const QString &path)
        : m_before(qgetenv("XDG_STATE_HOME"))
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(path));
    }
    ~StateHome() { qputenv("XDG_STATE_HOME", m_before); }
    StateHome(const StateHome &) = delete;
    StateHome &operator=(const StateHome &) = delete;

private:
    QByteArray m_before;
};

// Games each ending copy adds to the pending file, one at a time.
constexpr int PerEnding = 10;

enum class Fault { DamagedPages, HeldLock, NewerHistory, DiskFull, ReadOnly, NothingWritable };

} // namespace

Q_DECLARE_METATYPE(Fault)

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
    void faultLosesNoGame_data();
    void faultLosesNoGame();
    void pendingLinesAreCheckedOneByOne_data();
    void pendingLinesAreCheckedOneByOne();
    void copiesShareThePendingFile_data();
    void copiesShareThePendingFile();

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
        QVERIFY(store.append(games(0, 2)).done());
        const StoreOutcome appended = store.append(games(2, 4));
        QVERIFY2(appended.done(), qPrintable(appended.text));
    }
    HistoryStore reopened(path);
    const StoreRead read = reopened.read({items, game(sinceMinute).startedMs});
    QVERIFY(read.outcome.done());
    QList<GameRecord> want;
    for (int n : expected)
        want.append(game(n));
    QCOMPARE(read.games, want);
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
                if (const StoreOutcome outcome = store.append({game(n)}); !outcome.done())
                    qFatal("lost a game: %s", qPrintable(outcome.text));
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
    QCOMPARE(store.read().games.size(), 2 * PerWriter);
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
    const StoreOutcome appended = store.append({game(10)});
    QVERIFY2(appended.done(), qPrintable(appended.text));
    QVERIFY(store.append({game(10)}).done()); // its key is held already
    const QList<GameRecord> read = store.read().games;
    QCOMPARE(read.size(), 2);
    QVERIFY(!read.at(0).key.isEmpty());
    const GameRecord &old = read.at(0);
    QCOMPARE(old.startedMs, QDateTime(QDate(2026, 12, 7), QTime(0, 5, 0, 250), Qt::UTC).toMSecsSinceEpoch());
    QCOMPARE(old.outcome, Outcome::GiveUp);
    QCOMPARE(old.kind, KindVanish);
    QCOMPARE(old.elapsedMs, 4321);
    QCOMPARE(old.misses, 0);
    QCOMPARE(old.mode, Mode::Free);
    QCOMPARE(old.level, 0);
    QCOMPARE(read.at(1), game(10));
    QCOMPARE(userVersion(path), HistoryStore::SchemaVersion);
}

void TestHistory::damagedFileIsMovedAside()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QByteArray junk = QByteArray("no database here, only text\n").repeated(200);
    writeFile(path, junk);

    HistoryStore store(path);
    const StoreOutcome appended = store.append({game(1)});
    QVERIFY2(appended.done(), qPrintable(appended.text));
    QVERIFY(appended.text.contains(QStringLiteral("history.sqlite.damaged-")));
    const QStringList moved = QDir(dir.path()).entryList({QStringLiteral("history.sqlite.damaged-*")});
    QCOMPARE(moved.size(), 1);
    QCOMPARE(readFile(dir.filePath(moved[0])), junk);
    QCOMPARE(store.read().games, QList<GameRecord>{game(1)});
}

void TestHistory::readOnlyDirectoryReportsAndKeepsNothing()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    UnprivilegedScope unprivileged({dir.path()});
    QVERIFY(unprivileged.ok());
    HistoryStore store(path);
    const StoreOutcome appended = store.append({game(1)});
    QCOMPARE(appended.status, StoreStatus::Unwritable);
    QVERIFY(!appended.text.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestHistory::writerRecordsOffTheCallingThread()
{
    const QString path = m_dir.filePath(QStringLiteral("writer/history.sqlite"));
    RecordWriter writer(path);
    QList<GameRecord> recorded;
    connect(&writer, &RecordWriter::recorded, this, [&recorded](const GameRecord &record) { recorded << record; });
    // Without a context object a slot runs on the thread that emits: the writer's own, as for any object.
    QList<QThread *> receivers;
    connect(&writer, &RecordWriter::recorded, [&receivers] { receivers << QThread::currentThread(); });
    writer.submit(game(1));
    writer.submit(game(2));
    // Written while this thread runs no events: on another thread.
    const QDeadlineTimer deadline(10000);
    while (readAll(path).size() < 2 && !deadline.hasExpired())
        QThread::msleep(5);
    QCOMPARE(readAll(path), games(1, 2));
    QVERIFY(recorded.isEmpty());
    QTRY_COMPARE(recorded, games(1, 2));
    QCOMPARE(receivers, QList<QThread *>(2, QThread::currentThread()));
    QVERIFY(writer.problem().isEmpty());
    QCOMPARE(QFileInfo(QFileInfo(path).path()).permissions() & 0x7077, // owner, group and others
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Another copy of the game writes while the records window watches.
    writer.setWatching(true);
    Received changed(&writer, &RecordWriter::historyChanged);
    writer.flush();
    Probe(path).exec(QStringLiteral("UPDATE games SET misses = misses + 1"));
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 10000);

    QTemporaryDir stateDir; // where its game goes at the end
    const StateHome stateHome(stateDir.path());
    RecordWriter blocked(m_dir.filePath(QStringLiteral("writer/history.sqlite/not-a-directory/h.sqlite")));
    QStringList problems;
    connect(&blocked, &RecordWriter::problemChanged, this, [&problems](const QString &problem) { problems << problem; });
    blocked.submit(game(3));
    QTRY_COMPARE(problems.size(), 1);
    QCOMPARE(blocked.problem(), problems[0]);
    QVERIFY(problems[0].contains(QStringLiteral("not-a-directory")));
}

void TestHistory::faultLosesNoGame_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("told"); // what the player reads meanwhile
    QTest::newRow("pages damaged after opening") << Fault::DamagedPages << QStringLiteral("history.sqlite.damaged-");
    QTest::newRow("write lock held past the busy timeout") << Fault::HeldLock << QStringLiteral("別のプログラムが使っています");
    QTest::newRow("history of a newer version") << Fault::NewerHistory << QStringLiteral("新しい版");
    QTest::newRow("disk full") << Fault::DiskFull << QStringLiteral("いっぱい");
    QTest::newRow("read-only folder and file") << Fault::ReadOnly << QStringLiteral("書き込めません");
    QTest::newRow("read-only folder, no spare place") << Fault::NothingWritable << QStringLiteral("書き込めません");
}

void TestHistory::faultLosesNoGame()
{
    QFETCH(Fault, fault);
    QFETCH(QString, told);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QString pending = dir.filePath(QStringLiteral("history.pending"));
    StoreOptions options;
    options.busyTimeoutMs = 50;
    if (fault == Fault::NewerHistory) {
        Probe future(path);
        QVERIFY(future.exec(QStringLiteral("CREATE TABLE games (id INTEGER PRIMARY KEY, shape BLOB)")));
        QVERIFY(future.exec(QStringLiteral("PRAGMA writable_schema = ON")));
        QVERIFY(future.exec(QStringLiteral("INSERT INTO sqlite_master VALUES ('view', 'later', 'later', 0,"
                                           " 'CREATE VIEW later AS SELECT shape FROM games WINDOWED BY NEXT')")));
        QVERIFY(future.exec(QStringLiteral("PRAGMA user_version = 99")));
    } else if (fault == Fault::DiskFull) {
        options.maxPageCount = 8;
        HistoryStore filler(path, options);
        StoreOutcome outcome;
        for (int n = 0; n < 1000 && outcome.done(); ++n)
            outcome = filler.append({game(n)});
        QCOMPARE(outcome.status, StoreStatus::Full);
    } else {
        HistoryStore seeder(path);
        QVERIFY(seeder.append(games(0, fault == Fault::DamagedPages ? 300 : 1)).done());
    }
    const QByteArray bytes = readFile(path);
    const QList<GameRecord> before = readAll(path);
    const QList<GameRecord> summary = readAll(path, HistoryStore::Fields::Summary);
    // Where the pending games go when the history's folder cannot take them.
    QTemporaryDir stateDir;
    const StateHome stateHome(stateDir.path());
    const QString spare = pendingPaths(path, spareFolders()).at(1);
    std::optional<UnprivilegedScope> unprivileged;
    if (fault == Fault::ReadOnly || fault == Fault::NothingWritable) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (fault == Fault::NothingWritable)
            QVERIFY(QFile::setPermissions(stateDir.path(), QFile::ReadOwner | QFile::ExeOwner));
        unprivileged.emplace(QStringList{dir.path(), path, stateDir.path()});
        QVERIFY(unprivileged->ok());
    }
    records::takeLostAtEnd();

    auto writer = std::make_unique<RecordWriter>(path, options);
    Received problems(writer.get(), &RecordWriter::problemChanged);
    Received recorded(writer.get(), &RecordWriter::recorded);
    Received read(writer.get(), &RecordWriter::historyRead);
    writer->requestHistory(); // the service has the file open from here on
    QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 10000);
    QCOMPARE(std::get<1>(read.at(0)), summary);
    std::optional<Probe> holder;
    if (fault == Fault::DamagedPages) {
        const qint64 pageSize = Probe(path).value(QStringLiteral("PRAGMA page_size"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(pageSize));
        file.write(QByteArray(file.size() - pageSize, '\0'));
    } else if (fault == Fault::HeldLock) {
        holder.emplace(path);
        QVERIFY(holder->exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    writer->submit(game(1000));
    QTRY_VERIFY_WITH_TIMEOUT(!problems.isEmpty() && std::get<0>(problems.last()).contains(told), 10000);
    if (holder) {
        QVERIFY(recorded.isEmpty());
        holder.reset(); // the lock goes
        QTRY_COMPARE_WITH_TIMEOUT(recorded.size(), 1, 10000);
        QCOMPARE(std::get<0>(problems.last()), QString()); // a written game clears the problem
    }
    writer.reset(); // the program ends

    switch (fault) {
    case Fault::DamagedPages:
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("history.sqlite.damaged-*")}).size(), 1);
        QCOMPARE(readAll(path), QList<GameRecord>{game(1000)});
        break;
    case Fault::HeldLock:
        QCOMPARE(readAll(path), before + QList<GameRecord>{game(1000)});
        break;
    case Fault::NewerHistory:
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(readFile(pending).count('\n'), 1);
        break;
    case Fault::DiskFull: {
        QCOMPARE(readFile(pending).count('\n'), 1);
        RecordWriter next(path); // the next start, with room again
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(pending), 10000);
        QCOMPARE(readAll(path), before + QList<GameRecord>{game(1000)});
        break;
    }
    case Fault::ReadOnly: {
        QVERIFY(!QFile::exists(pending));
        QCOMPARE(readFile(spare).count('\n'), 1);
        QCOMPARE(records::takeLostAtEnd(), QString());
        unprivileged.reset();
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        RecordWriter next(path); // the next start merges it from the spare place
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(spare), 10000);
        QCOMPARE(readAll(path).size(), before.size() + 1);
        break;
    }
    case Fault::NothingWritable: {
        QVERIFY(!QFile::exists(pending));
        QVERIFY(!QFile::exists(spare));
        // Told before the program ends, and no word left in any folder above the history.
        QVERIFY(records::takeLostAtEnd().startsWith(QStringLiteral("1 件のゲームを記録できませんでした")));
        for (QDir folder(dir.path());; folder.setPath(QFileInfo(folder.absolutePath()).path())) {
            QCOMPARE(folder.entryList({QStringLiteral("ivok2-*.lost")}, QDir::Files | QDir::Hidden), QStringList());
            if (folder.isRoot())
                break;
        }
        unprivileged.reset();
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::setPermissions(stateDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        break;
    }
    }
}

void TestHistory::pendingLinesAreCheckedOneByOne_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("usable");
    const QByteArray good = pendingLine(game(7));
    auto without = [&good](const QStringList &fields) {
        QJsonObject object = QJsonDocument::fromJson(good).object();
        for (const QString &field : fields)
            object.remove(field);
        return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    };
    auto with = [&good](const QString &field, const QJsonValue &value) {
        QJsonObject object = QJsonDocument::fromJson(good).object();
        object.insert(field, value);
        return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    };
    QTest::newRow("no start text") << without({QStringLiteral("started")}) << false;
    QTest::newRow("no version") << without({QStringLiteral("version")}) << false;
    QTest::newRow("cut short by a crash") << good.left(good.size() / 2) << false;
    QTest::newRow("a word for a number") << with(QStringLiteral("items"), QStringLiteral("twenty")) << false;
    QTest::newRow("unknown kind") << with(QStringLiteral("kind"), QStringLiteral("spin")) << false;
    QTest::newRow("older version: no key, mode, level")
        << without({QStringLiteral("key"), QStringLiteral("mode"), QStringLiteral("level"),
                    QStringLiteral("dropped_refreshes")})
        << true;
}

void TestHistory::pendingLinesAreCheckedOneByOne()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, usable);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QString pending = pendingPath(path);
    const QString rejected = rejectedPath(pending);
    const QByteArray earlier = "a line kept from an earlier start\n";
    writeFile(rejected, earlier);
    for (int start = 0; start < 2; ++start) { // the same lines again: nothing is kept twice
        // Written as a copy that crashed while writing the line, and another copy that ended after it.
        writeFile(pending, pendingLine(game(1)) + line);
        QVERIFY(appendPending(pending, {game(9)}));
        RecordWriter writer(path);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(pending), 10000);
        const QList<GameRecord> read = readAll(path);
        QCOMPARE(read.size(), usable ? 3 : 2);
        QCOMPARE(read.first(), game(1));
        QCOMPARE(read.last(), game(9));
        const QByteArray whole = line.endsWith('\n') ? line : line + '\n';
        QCOMPARE(readFile(rejected), usable ? earlier : earlier + whole.repeated(start + 1));
    }
}

void TestHistory::copiesShareThePendingFile_data()
{
    QTest::addColumn<int>("starting"); // copies that start and merge the pending file
    QTest::addColumn<int>("ending");   // copies that end meanwhile and add their games to it
    QTest::newRow("four copies start") << 4 << 0;
    QTest::newRow("one starts while three end") << 1 << 3;
}

void TestHistory::copiesShareThePendingFile()
{
    QFETCH(int, starting);
    QFETCH(int, ending);
    constexpr int Waiting = 20;
    for (int round = 0; round < 3; ++round) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history.sqlite"));
        QVERIFY(appendPending(pendingPath(path), games(0, Waiting)));
        std::vector<std::unique_ptr<QProcess>> copies;
        auto run = [&copies](const QStringList &arguments) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            copies.back()->start(QCoreApplication::applicationFilePath(), arguments);
        };
        for (int i = 0; i < ending; ++i)
            run({QStringLiteral("--end"), path, QString::number(1000 * (i + 1))});
        for (int i = 0; i < starting; ++i)
            run({QStringLiteral("--start"), path});
        // All at once: each says when it is loaded, and goes on when told.
        for (const auto &copy : copies)
            QTRY_VERIFY_WITH_TIMEOUT(copy->canReadLine() || copy->waitForReadyRead(0), 30000);
        for (const auto &copy : copies) {
            copy->write("\n");
            QVERIFY(copy->waitForBytesWritten(10000));
        }
        for (const auto &copy : copies) {
            QVERIFY(copy->waitForFinished(60000));
            QCOMPARE(copy->exitCode(), 0);
        }
        {
            RecordWriter next(path); // what came after the merge waits for the next start
            next.flush();
        }
        QSet<QString> keys;
        for (const GameRecord &record : readAll(path))
            keys.insert(record.key);
        QCOMPARE(readAll(path).size(), Waiting + ending * PerEnding);
        QCOMPARE(keys.size(), Waiting + ending * PerEnding);
        QVERIFY(!QFile::exists(pendingPath(path)));
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && qstrncmp(argv[1], "--", 2) == 0) {
        QFile input;
        std::puts("ready");
        std::fflush(stdout);
        if (!input.open(stdin, QIODevice::ReadOnly) || input.readLine().isEmpty())
            return 2;
    }
    // A copy of the game that starts: its writer merges the pending file, then it ends.
    if (argc == 3 && qstrcmp(argv[1], "--start") == 0) {
        RecordWriter writer(QString::fromLocal8Bit(argv[2]));
        writer.flush();
        return 0;
    }
    // Copies that end, each adding its games to the pending file one by one.
    if (argc == 4 && qstrcmp(argv[1], "--end") == 0) {
        const QString pending = pendingPath(QString::fromLocal8Bit(argv[2]));
        const int from = QByteArray(argv[3]).toInt();
        for (int n = from; n < from + PerEnding; ++n) {
            if (!appendPending(pending, {game(n)}))
                return 1;
        }
        return 0;
    }
    TestHistory test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_history.moc"
