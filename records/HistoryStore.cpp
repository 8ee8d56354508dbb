#include "records/HistoryStore.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>

namespace records {

namespace {

QAtomicInteger<quint64> connectionCount;

// SQLite's codes for a file that is not a database and for a database whose pages are damaged.
const QStringList DamagedCodes = {QStringLiteral("26"), QStringLiteral("11")};
// SQLite's codes for a file that another connection holds at the moment.
const QStringList BusyCodes = {QStringLiteral("5"), QStringLiteral("6")};

// How long a writer waits for another connection's transaction before it gives up.
constexpr int BusyTimeoutMs = 10000;

// The first schema, which every newer one starts from.
const char CreateVersion1[] = "CREATE TABLE games ("
                              " id INTEGER PRIMARY KEY,"
                              " started TEXT NOT NULL,"
                              " outcome TEXT NOT NULL,"
                              " elapsed_ms INTEGER NOT NULL,"
                              " kind TEXT NOT NULL,"
                              " items INTEGER NOT NULL,"
                              " view_time REAL NOT NULL,"
                              " blank_time REAL NOT NULL,"
                              " columns INTEGER NOT NULL,"
                              " rows INTEGER NOT NULL,"
                              " answer1_column INTEGER NOT NULL,"
                              " answer1_row INTEGER NOT NULL,"
                              " answer2_column INTEGER NOT NULL,"
                              " answer2_row INTEGER NOT NULL,"
                              " version TEXT NOT NULL)";

// Version 2 counts the misses and keeps the start as a number, so that periods and order need no parsing.
const char *const Version1To2[] = {
    "ALTER TABLE games ADD COLUMN started_ms INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE games ADD COLUMN misses INTEGER NOT NULL DEFAULT 0",
    "UPDATE games SET started_ms = CAST(round((julianday(started) - 2440587.5) * 86400000.0) AS INTEGER)",
    "CREATE INDEX games_by_start ON games (started_ms)",
};

// Version 3 keeps the refreshes the flicker missed and whether training chose the game's symbol count.
const char *const Version2To3[] = {
    "ALTER TABLE games ADD COLUMN dropped_refreshes INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE games ADD COLUMN mode TEXT NOT NULL DEFAULT 'free'",
    "ALTER TABLE games ADD COLUMN level INTEGER NOT NULL DEFAULT 0",
};

// The summary's columns come first, so that both lists read alike.
const char SummaryColumns[] = "started_ms, outcome, elapsed_ms, kind, items, mode, level";
const char AllColumns[] = "started_ms, outcome, elapsed_ms, kind, items, mode, level, started, view_time, blank_time,"
                          " columns, rows, answer1_column, answer1_row, answer2_column, answer2_row, misses, version,"
                          " dropped_refreshes";

} // namespace

QString defaultHistoryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/ivok2/history.sqlite");
}

HistoryStore::HistoryStore(QString path)
    : m_path(std::move(path))
    , m_connection(QStringLiteral("ivok2-history-%1").arg(++connectionCount))
{
}

HistoryStore::~HistoryStore()
{
    disconnect();
}

bool HistoryStore::open()
{
    if (m_open)
        return true;
    m_message.clear();
    m_damaged = false;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return fail(QStringLiteral("記録のフォルダーを作れません"), QFileInfo(m_path).absolutePath());
    if (start())
        return m_open = true;
    disconnect();
    if (!m_damaged || !moveDamagedFileAside())
        return false;
    const QString moved = m_message;
    if (!start()) {
        disconnect();
        return false;
    }
    m_message = moved;
    return m_open = true;
}

bool HistoryStore::start()
{
    return connect() && prepare() && migrate();
}

bool HistoryStore::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return fail(QStringLiteral("記録を開けません"), db.lastError().text());
    return true;
}

void HistoryStore::disconnect()
{
    m_open = false;
    m_insert.reset();
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryStore::prepare()
{
    // The first statement reads the file's header: here a file that is no database shows. Switching the
    // journal needs the file to itself for a moment and SQLite does not wait for that, so a second copy of the
    // game opening the history at the same time tries again until the busy timeout.
    const QDeadlineTimer deadline(BusyTimeoutMs);
    while (!exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        if (!m_busy || deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

bool HistoryStore::migrate()
{
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        rollback();
        return fail(QStringLiteral("記録を読めません"), query.lastError().text());
    }
    const int version = query.value(0).toInt();
    query.finish();
    if (version > SchemaVersion) {
        rollback();
        return fail(QStringLiteral("記録は新しい版のIvok２で作られています"), m_path);
    }
    bool ok = true;
    if (version < 1)
        ok = exec(QString::fromLatin1(CreateVersion1));
    if (version < 2) {
        for (const char *statement : Version1To2)
            ok = ok && exec(QString::fromLatin1(statement));
    }
    if (version < 3) {
        for (const char *statement : Version2To3)
            ok = ok && exec(QString::fromLatin1(statement));
    }
    ok = ok && exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) && exec(QStringLiteral("COMMIT"));
    if (!ok)
        rollback();
    return ok;
}

bool HistoryStore::moveDamagedFileAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString target = m_path + QStringLiteral(".damaged-") + stamp;
    if (!QFile::rename(m_path, target))
        return fail(QStringLiteral("壊れた記録ファイルを移せません"), m_path);
    // The journal files belong to the damaged file; left behind, they would be replayed into the new one.
    for (const char *suffix : {"-wal", "-shm"})
        QFile::rename(m_path + QLatin1String(suffix), target + QLatin1String(suffix));
    m_message = QStringLiteral("記録ファイルが壊れていたため %1 に移し、新しい記録を始めました")
                    .arg(QFileInfo(target).fileName());
    return true;
}

bool HistoryStore::exec(const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(statement))
        return true;
    const QSqlError error = query.lastError();
    m_damaged = m_damaged || DamagedCodes.contains(error.nativeErrorCode());
    m_busy = BusyCodes.contains(error.nativeErrorCode());
    return fail(QStringLiteral("記録を使えません"), error.text());
}

void HistoryStore::rollback()
{
    const QString failure = m_message;
    exec(QStringLiteral("ROLLBACK"));
    m_message = failure;
}

bool HistoryStore::fail(const QString &what, const QString &why)
{
    m_message = QStringLiteral("%1（%2）").arg(what, why);
    return false;
}

bool HistoryStore::append(const QList<GameRecord> &records)
{
    m_message.clear();
    if (!open())
        return false;
    if (!m_insert) {
        m_insert = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection, false));
        const QString statement = QStringLiteral("INSERT INTO games (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                      .arg(QLatin1String(AllColumns));
        if (!m_insert->prepare(statement)) {
            const QString why = m_insert->lastError().text();
            m_insert.reset();
            return fail(QStringLiteral("記録を保存できません"), why);
        }
    }
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    QSqlQuery &insert = *m_insert;
    for (const GameRecord &record : records) {
        const QVariantList values = {record.startedMs, outcomeName(record.outcome), record.elapsedMs,
                                     kindName(record.kind), record.items, modeName(record.mode), record.level,
                                     record.started, record.viewTime, record.blankTime, record.columns, record.rows,
                                     record.answer1Column, record.answer1Row, record.answer2Column, record.answer2Row,
                                     record.misses, record.version, record.droppedRefreshes};
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values[i]);
        if (!insert.exec()) {
            const QString why = insert.lastError().text();
            rollback();
            return fail(QStringLiteral("記録を保存できません"), why);
        }
    }
    if (exec(QStringLiteral("COMMIT")))
        return true;
    rollback();
    return false;
}

std::optional<QList<GameRecord>> HistoryStore::read(const RecordFilter &filter, Fields fields)
{
    m_message.clear();
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM games WHERE (? = 0 OR items = ?) AND started_ms >= ?"
                                 " ORDER BY started_ms, id")
                      .arg(QLatin1String(fields == Fields::All ? AllColumns : SummaryColumns)));
    query.bindValue(0, filter.items);
    query.bindValue(1, filter.items);
    query.bindValue(2, filter.sinceMs);
    if (!query.exec()) {
        fail(QStringLiteral("記録を読めません"), query.lastError().text());
        return std::nullopt;
    }
    QList<GameRecord> result;
    while (query.next()) {
        GameRecord record;
        record.startedMs = query.value(0).toLongLong();
        record.outcome = outcomeFromName(query.value(1).toString()).value_or(Outcome::Abandoned);
        record.elapsedMs = query.value(2).toLongLong();
        record.kind = kindFromName(query.value(3).toString()).value_or(Kind::None);
        record.items = query.value(4).toInt();
        record.mode = modeFromName(query.value(5).toString()).value_or(Mode::Free);
        record.level = query.value(6).toInt();
        if (fields == Fields::All) {
            record.started = query.value(7).toString();
            record.viewTime = query.value(8).toDouble();
            record.blankTime = query.value(9).toDouble();
            record.columns = query.value(10).toInt();
            record.rows = query.value(11).toInt();
            record.answer1Column = query.value(12).toInt();
            record.answer1Row = query.value(13).toInt();
            record.answer2Column = query.value(14).toInt();
            record.answer2Row = query.value(15).toInt();
            record.misses = query.value(16).toInt();
            record.version = query.value(17).toString();
            record.droppedRefreshes = query.value(18).toInt();
        }
        result.append(record);
    }
    return result;
}

std::optional<qint64> HistoryStore::dataVersion()
{
    m_message.clear();
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next()) {
        fail(QStringLiteral("記録を読めません"), query.lastError().text());
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

} // namespace records
