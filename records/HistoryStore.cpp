#include "records/HistoryStore.h"

#include <QCoreApplication>
#include <QAtomicInteger>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <array>
#include <span>
#include <utility>

namespace records {

namespace {

QAtomicInteger<quint64> connectionCount;

// How long the first retries of a journal switch wait for another copy of the game that opens the file too.
constexpr int JournalRetryMs = 5;

// Each step brings the schema from the version before it up to its own; a later version adds its step at
// the end. Step 1 is the first schema, which every newer one starts from.
const char *const Version1[] = {"CREATE TABLE games ("
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
                                " version TEXT NOT NULL)"};

// Version 2 counts the misses and keeps the start as a number, so that periods and order need no parsing.
const char *const Version2[] = {
    "ALTER TABLE games ADD COLUMN started_ms INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE games ADD COLUMN misses INTEGER NOT NULL DEFAULT 0",
    "UPDATE games SET started_ms = CAST(round((julianday(started) - 2440587.5) * 86400000.0) AS INTEGER)",
    "CREATE INDEX games_by_start ON games (started_ms)",
};

// Version 3 keeps the refreshes the flicker missed and whether training chose the game's symbol count.
const char *const Version3[] = {
    "ALTER TABLE games ADD COLUMN dropped_refreshes INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE games ADD COLUMN mode TEXT NOT NULL DEFAULT 'free'",
    "ALTER TABLE games ADD COLUMN level INTEGER NOT NULL DEFAULT 0",
};

// Version 4 gives every game its key, held once. The games already kept get one from their row, which no
// new key can equal (a new key's random part is hexadecimal).
const char *const Version4[] = {
    "ALTER TABLE games ADD COLUMN game_key TEXT",
    "UPDATE games SET game_key = started_ms || '-row' || id",
    "CREATE UNIQUE INDEX games_by_key ON games (game_key)",
};

// Version 5 keeps how the flicker's screens came out and how they were timed; older games are unknown (-1).
const char *const Version5[] = {
    "ALTER TABLE games ADD COLUMN screens INTEGER NOT NULL DEFAULT -1",
    "ALTER TABLE games ADD COLUMN screens_off INTEGER NOT NULL DEFAULT -1",
    "ALTER TABLE games ADD COLUMN worst_screen_error_ms REAL NOT NULL DEFAULT -1",
    "ALTER TABLE games ADD COLUMN timing TEXT NOT NULL DEFAULT ''",
};

const std::array<std::span<const char *const>, HistoryStore::SchemaVersion> Steps = {Version1, Version2, Version3,
                                                                                       Version4, Version5};

// A file of the version before the key is still read where it cannot be brought up to date (a read-only
// folder): its games are read without their keys.
constexpr int OldestReadable = 3;

// The summary's columns come first, so that both lists read alike.
const char SummaryColumns[] = "started_ms, outcome, elapsed_ms, kind, items, mode, level, screens_off";
const char AllColumns[] = "started_ms, outcome, elapsed_ms, kind, items, mode, level, screens_off, started, view_time,"
                          " blank_time, columns, rows, answer1_column, answer1_row, answer2_column, answer2_row, misses,"
                          " version, dropped_refreshes, screens, worst_screen_error_ms, timing, game_key";

// What a read-only file of an older version gives for the columns it lacks, and from which version it has them.
struct LaterColumn
{
    const char *name;
    const char *missing;
    int since;
};
const LaterColumn LaterColumns[] = {
    {"game_key", "''", 4},
    {"screens_off", "-1", 5},
    {"screens", "-1", 5},
    {"worst_screen_error_ms", "-1", 5},
    {"timing", "''", 5},
};

} // namespace

QString defaultHistoryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/ivok2/history.sqlite");
}

namespace {

StoreOutcome &outcomeOf(StoreOutcome &outcome)
{
    return outcome;
}

StoreOutcome &outcomeOf(StoreRead &read)
{
    return read.outcome;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

HistoryStore::HistoryStore(QString path, StoreOptions options)
    : m_path(std::move(path))
    , m_options(options)
    , m_connection(QStringLiteral("ivok2-history-%1").arg(++connectionCount))
{
}

HistoryStore::~HistoryStore()
{
    disconnect();
}

StoreOutcome HistoryStore::open()
{
    return recovering<StoreOutcome>([this] { return start(); });
}

template<typename Result, typename Operation>
Result HistoryStore::recovering(Operation operation)
{
    Result result = operation();
    if (outcomeOf(result).status != StoreStatus::Damaged)
        return result;
    disconnect();
    const StoreOutcome moved = moveDamagedFileAside();
    if (!moved.done()) {
        result = {};
        outcomeOf(result) = moved;
        return result;
    }
    result = operation();
    if (outcomeOf(result).done())
        outcomeOf(result).text = moved.text;
    return result;
}

StoreOutcome HistoryStore::start()
{
    if (m_open)
        return {};
    // The history is the player's own: a folder made for it is closed to everyone else.
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (!QFileInfo(folder).isDir())
        return {StoreStatus::Unwritable,
                QCoreApplication::translate("HistoryStore", "記録のフォルダーを作れません（%1）。このフォルダーを作れるか確かめてください。").arg(shown(folder))};
    StoreOutcome outcome = connect(Access::ReadWrite);
    int version = 0;
    if (outcome.done())
        outcome = readVersion(version);
    // A history in a folder that cannot be written lacks the shared-memory file that reading needs; it is
    // read as a file that does not change meanwhile.
    const bool readOnly = outcome.status == StoreStatus::Unwritable && QFileInfo::exists(m_path);
    if (readOnly) {
        disconnect();
        outcome = connect(Access::ReadOnly);
        if (outcome.done())
            outcome = readVersion(version);
        if (outcome.done() && version < OldestReadable)
            outcome = unwritable();
    }
    if (outcome.done() && version > SchemaVersion)
        outcome = {StoreStatus::Newer,
                   QCoreApplication::translate("HistoryStore", "記録ファイル %1 は新しい版のIvok２で作られています。この版では読み書きしません。新しい版のIvok２をお使いください。")
                       .arg(shown(m_path))};
    if (outcome.done() && !readOnly)
        outcome = prepare(version);
    if (outcome.done() && version < SchemaVersion && !readOnly)
        outcome = migrate();
    // Here the schema is read: a table this SQLite cannot parse shows as damage.
    if (outcome.done())
        outcome = exec(QStringLiteral("SELECT 1 FROM games LIMIT 0"));
    if (!outcome.done()) {
        disconnect();
        return outcome;
    }
    m_fileVersion = readOnly ? version : SchemaVersion;
    m_open = true;
    return {};
}

StoreOutcome HistoryStore::connect(Access access)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    const QString timeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_options.busyTimeoutMs);
    if (access == Access::ReadWrite) {
        db.setDatabaseName(m_path);
        db.setConnectOptions(timeout);
    } else {
        db.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"));
        db.setConnectOptions(timeout + QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    }
    if (!db.open())
        return failure(db.lastError());
    return {};
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

StoreOutcome HistoryStore::readVersion(int &version)
{
    // Read from the header alone, before anything parses the schema, so that a newer file is told from a
    // damaged one and left as it is.
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return failure(query.lastError());
    version = query.value(0).toInt();
    return {};
}

StoreOutcome HistoryStore::prepare(int version)
{
    // Switching the journal needs the file to itself for a moment and SQLite does not wait for that, so a
    // second copy of the game opening the history at the same time tries again until the busy timeout. This
    // runs on the writer thread only.
    const QDeadlineTimer deadline(m_options.busyTimeoutMs);
    StoreOutcome outcome;
    while ((outcome = exec(QStringLiteral("PRAGMA journal_mode = WAL"))).status == StoreStatus::Busy
           && !deadline.hasExpired())
        QThread::msleep(JournalRetryMs);
    // A file that cannot be written is still read, where it needs no change.
    if (outcome.status == StoreStatus::Unwritable && version == SchemaVersion)
        outcome = {};
    if (outcome.done() && m_options.maxPageCount > 0)
        outcome = exec(QStringLiteral("PRAGMA max_page_count = %1").arg(m_options.maxPageCount));
    if (outcome.done())
        outcome = exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    return outcome;
}

StoreOutcome HistoryStore::migrate()
{
    StoreOutcome outcome = exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!outcome.done())
        return outcome;
    // Another copy may have brought the file up to date while this one waited for the lock.
    int version = 0;
    outcome = readVersion(version);
    for (int step = version; step < SchemaVersion; ++step) {
        for (const char *statement : Steps[static_cast<size_t>(step)]) {
            if (outcome.done())
                outcome = exec(QString::fromLatin1(statement));
        }
    }
    if (outcome.done() && version < SchemaVersion)
        outcome = exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    if (outcome.done())
        outcome = exec(QStringLiteral("COMMIT"));
    if (!outcome.done())
        rollback();
    return outcome;
}

StoreOutcome HistoryStore::moveDamagedFileAside()
{
    // Unique to the millisecond, and never over an earlier one.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base = m_path + QStringLiteral(".damaged-") + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral("-wal")); ++n)
        target = base + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(m_path, target))
        return {StoreStatus::Unwritable,
                QCoreApplication::translate("HistoryStore", "記録ファイル %1 が壊れていますが、移せません。このフォルダーに書き込めるか確かめてください。")
                    .arg(shown(m_path))};
    // The journal files belong to the damaged file; left behind, they would be replayed into the new one.
    for (const char *suffix : {"-wal", "-shm"})
        QFile::rename(m_path + QLatin1String(suffix), target + QLatin1String(suffix));
    return {StoreStatus::Done, QCoreApplication::translate("HistoryStore", "記録ファイルが壊れていたため %1 に移し、新しい記録を始めました")
                                   .arg(QFileInfo(target).fileName())};
}

StoreOutcome HistoryStore::exec(const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(statement))
        return {};
    return failure(query.lastError());
}

StoreOutcome HistoryStore::failure(const QSqlError &error) const
{
    // SQLite's primary result codes; the driver's own words are never shown.
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 5: // busy
    case 6: // locked
        return {StoreStatus::Busy,
                QCoreApplication::translate("HistoryStore", "記録ファイル %1 を別のプログラムが使っています。使い終われば書き込めます。").arg(shown(m_path))};
    case 11: // damaged pages
    case 26: // no database
        return {StoreStatus::Damaged, QCoreApplication::translate("HistoryStore", "記録ファイル %1 が壊れています。").arg(shown(m_path))};
    case 13: // full
        return {StoreStatus::Full,
                QCoreApplication::translate("HistoryStore", "ディスクがいっぱいで記録ファイル %1 に書き込めません。ディスクに空きを作ってください。").arg(shown(m_path))};
    case 8: // read-only
    case 10: // input or output
    case 14: // cannot open
    case 23: // not authorised
        return unwritable();
    default:
        return {StoreStatus::Failed,
                QCoreApplication::translate("HistoryStore", "記録ファイル %1 を使えません（エラー番号 %2）。").arg(shown(m_path), error.nativeErrorCode())};
    }
}

StoreOutcome HistoryStore::unwritable() const
{
    return {StoreStatus::Unwritable,
            QCoreApplication::translate("HistoryStore", "記録ファイル %1 に書き込めません。このファイルとフォルダーに書き込めるか確かめてください。").arg(shown(m_path))};
}

void HistoryStore::rollback()
{
    exec(QStringLiteral("ROLLBACK"));
}

StoreOutcome HistoryStore::append(const QList<GameRecord> &records, QList<GameRecord> *inserted)
{
    const StoreOutcome outcome = recovering<StoreOutcome>([this, &records, inserted] {
        if (inserted)
            inserted->clear();
        return tryAppend(records, inserted);
    });
    // Opened for reading only, or refused: the next try opens afresh, for the folder may be writable by then.
    if (outcome.status == StoreStatus::Unwritable)
        disconnect();
    return outcome;
}

StoreOutcome HistoryStore::tryAppend(const QList<GameRecord> &records, QList<GameRecord> *inserted)
{
    StoreOutcome outcome = start();
    // Pages cached from an earlier transaction would hide damage done to the file since.
    if (outcome.done())
        outcome = exec(QStringLiteral("PRAGMA shrink_memory"));
    if (outcome.done() && !m_insert) {
        m_insert = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection, false));
        const QString statement = QStringLiteral("INSERT INTO games (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                                                     " ON CONFLICT (game_key) DO NOTHING")
                                      .arg(QLatin1String(AllColumns));
        if (!m_insert->prepare(statement)) {
            outcome = failure(m_insert->lastError());
            m_insert.reset();
        }
    }
    if (outcome.done())
        outcome = exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!outcome.done())
        return outcome;
    QSqlQuery &insert = *m_insert;
    for (const GameRecord &record : records) {
        const QVariantList values = {record.startedMs, outcomeName(record.outcome), record.elapsedMs,
                                     kindName(record.kind), record.items, modeName(record.mode), record.level,
                                     record.screensOff, record.started, record.viewTime, record.blankTime, record.columns, record.rows,
                                     record.answer1Column, record.answer1Row, record.answer2Column, record.answer2Row,
                                     record.misses, record.version, record.droppedRefreshes, record.screens,
                                     record.worstScreenErrorMs, record.timing.isNull() ? QStringLiteral("") : record.timing,
                                     record.key.isEmpty() ? newGameKey(record.startedMs) : record.key};
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values[i]);
        if (!insert.exec()) {
            outcome = failure(insert.lastError());
            rollback();
            return outcome;
        }
        if (inserted && insert.numRowsAffected() > 0)
            inserted->append(record);
    }
    outcome = exec(QStringLiteral("COMMIT"));
    if (!outcome.done())
        rollback();
    return outcome;
}

StoreRead HistoryStore::read(const RecordFilter &filter, Fields fields)
{
    return recovering<StoreRead>([this, &filter, fields] { return tryRead(filter, fields); });
}

StoreRead HistoryStore::readTraining()
{
    return recovering<StoreRead>([this] { return tryRead({}, Fields::Summary, true); });
}

StoreRead HistoryStore::tryRead(const RecordFilter &filter, Fields fields, bool trainingOnly)
{
    StoreOutcome outcome = start();
    if (outcome.done())
        outcome = exec(QStringLiteral("PRAGMA shrink_memory"));
    if (!outcome.done())
        return {outcome, {}};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    QString columns = QLatin1String(fields == Fields::All ? AllColumns : SummaryColumns);
    for (const LaterColumn &later : LaterColumns) {
        if (m_fileVersion < later.since)
            columns.replace(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(later.name))),
                            QLatin1String(later.missing));
    }
    query.prepare(QStringLiteral("SELECT %1 FROM games WHERE (? = 0 OR items = ?) AND started_ms >= ?"
                                 " AND (? = 0 OR mode = ?) ORDER BY started_ms, id")
                      .arg(columns));
    query.bindValue(0, filter.items);
    query.bindValue(1, filter.items);
    query.bindValue(2, filter.sinceMs);
    query.bindValue(3, trainingOnly ? 1 : 0);
    query.bindValue(4, modeName(Mode::Training));
    if (!query.exec())
        return {failure(query.lastError()), {}};
    QList<GameRecord> result;
    while (query.next()) {
        GameRecord record;
        record.startedMs = query.value(0).toLongLong();
        record.outcome = outcomeFromName(query.value(1).toString()).value_or(Outcome::Abandoned);
        record.elapsedMs = query.value(2).toLongLong();
        record.kind = kindFromName(query.value(3).toString()).value_or(KindNone);
        record.items = query.value(4).toInt();
        record.mode = modeFromName(query.value(5).toString()).value_or(Mode::Free);
        record.level = query.value(6).toInt();
        record.screensOff = query.value(7).toInt();
        if (fields == Fields::All) {
            record.started = query.value(8).toString();
            record.viewTime = query.value(9).toDouble();
            record.blankTime = query.value(10).toDouble();
            record.columns = query.value(11).toInt();
            record.rows = query.value(12).toInt();
            record.answer1Column = query.value(13).toInt();
            record.answer1Row = query.value(14).toInt();
            record.answer2Column = query.value(15).toInt();
            record.answer2Row = query.value(16).toInt();
            record.misses = query.value(17).toInt();
            record.version = query.value(18).toString();
            record.droppedRefreshes = query.value(19).toInt();
            record.screens = query.value(20).toInt();
            record.worstScreenErrorMs = query.value(21).toDouble();
            record.timing = query.value(22).toString();
            record.key = query.value(23).toString();
        }
        result.append(record);
    }
    // A damaged page met halfway ends the rows early.
    if (query.lastError().isValid())
        return {failure(query.lastError()), {}};
    return {{}, result};
}

void HistoryStore::setBusyTimeout(int milliseconds)
{
    m_options.busyTimeoutMs = milliseconds;
    if (m_open)
        exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

std::optional<qint64> HistoryStore::dataVersion()
{
    if (!start().done())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

} // namespace records
