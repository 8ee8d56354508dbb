#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSqlError;
class QSqlQuery;

namespace records {

// Where the game keeps its history: ivok2/history.sqlite in the player's data directory.
QString defaultHistoryPath();

// Limits of one connection: how long it waits for another connection's transaction, and how many pages the
// file may grow to (0: as many as the disk holds).
struct StoreOptions
{
    int busyTimeoutMs = 10000;
    qint64 maxPageCount = 0;
};

// How an operation on the history went. Busy, Unwritable and Full pass: the same operation may succeed later.
enum class StoreStatus { Done, Busy, Damaged, Newer, Unwritable, Full, Failed };

struct StoreOutcome
{
    StoreStatus status = StoreStatus::Done;
    // For the player, in plain words: what failed, on which file, what to do; or, on success, that a damaged
    // file was moved aside.
    QString text;

    bool done() const { return status == StoreStatus::Done; }
};

struct StoreRead
{
    StoreOutcome outcome;
    QList<GameRecord> games;
};

// One connection to the history database, used on one thread. Several connections, also from several running
// copies of the game, may write at once: each waits for the others' transactions to end. Damage found by any
// operation moves the file aside and starts a new history; a history of a newer version is never written to.
class HistoryStore
{
public:
    static constexpr int SchemaVersion = 5;

    explicit HistoryStore(QString path, StoreOptions options = {});
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // Creates the file and its tables where they are missing and brings an older schema up to date. A file
    // that cannot be written is opened for reading where its schema is current.
    StoreOutcome open();

    // Which fields read() fills: all of them, or only what charts and tables need (start, outcome, elapsed
    // time, kind and item count), which reads a long history in a fraction of the time.
    enum class Fields { All, Summary };

    // All records in one transaction; a record whose key the history holds already is passed over. Where
    // inserted is given, it gets the records that were new.
    StoreOutcome append(const QList<GameRecord> &records, QList<GameRecord> *inserted = nullptr);
    // In order of start.
    StoreRead read(const RecordFilter &filter = {}, Fields fields = Fields::All);
    // The summary of the training games alone, in order of start: what the training level is worked out from.
    StoreRead readTraining();
    // Changes whenever another connection commits; empty while the file cannot be read.
    std::optional<qint64> dataVersion();

    // How long an operation waits for another connection's transaction from now on.
    void setBusyTimeout(int milliseconds);

    QString path() const { return m_path; }

private:
    enum class Access { ReadWrite, ReadOnly };

    StoreOutcome start(); // connects and brings the file up to date
    StoreOutcome connect(Access access);
    void disconnect();
    StoreOutcome readVersion(int &version);
    StoreOutcome prepare(int version);
    StoreOutcome migrate();
    StoreOutcome moveDamagedFileAside();
    StoreOutcome exec(const QString &statement);
    StoreOutcome failure(const QSqlError &error) const;
    StoreOutcome unwritable() const;
    StoreOutcome tryAppend(const QList<GameRecord> &records, QList<GameRecord> *inserted);
    StoreRead tryRead(const RecordFilter &filter, Fields fields, bool trainingOnly = false);
    // Runs an operation; damage it finds moves the file aside and runs it once more on a new history.
    template<typename Result, typename Operation>
    Result recovering(Operation operation);
    void rollback();

    QString m_path;
    StoreOptions m_options;
    QString m_connection;
    std::unique_ptr<QSqlQuery> m_insert;
    bool m_open = false;
    int m_fileVersion = SchemaVersion; // older only for a read-only file, which lacks the later columns
};

} // namespace records
