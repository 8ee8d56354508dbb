#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSqlQuery;

namespace records {

// Where the game keeps its history: ivok2/history.sqlite in the player's data directory.
QString defaultHistoryPath();

// One connection to the history database. A connection belongs to the thread that opened it, so the writer
// thread and the records window each hold their own; several connections, also from several running
// copies of the game, may write at once: each waits for the others' transactions to end.
class HistoryStore
{
public:
    static constexpr int SchemaVersion = 3;

    explicit HistoryStore(QString path);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // Creates the file and its tables where they are missing and brings an older schema up to date.
    // A file that is no database is moved aside (never deleted) and a new one is started.
    bool open();

    // Which fields read() fills: all of them, or only what charts and tables need (start, outcome, elapsed
    // time, kind and item count), which reads a long history in a fraction of the time.
    enum class Fields { All, Summary };

    // All records in one transaction.
    bool append(const QList<GameRecord> &records);
    // In order of start.
    std::optional<QList<GameRecord>> read(const RecordFilter &filter = {}, Fields fields = Fields::All);
    // A number that changes whenever another connection has committed a change to the file.
    std::optional<qint64> dataVersion();

    // What the player should know of the last operation: why it failed, or that a damaged file was moved.
    QString message() const { return m_message; }

private:
    bool start(); // connects and brings the file up to date
    bool connect();
    void disconnect();
    bool prepare();
    bool migrate();
    bool moveDamagedFileAside();
    bool exec(const QString &statement);
    void rollback(); // keeps the message of the failure that called for it
    bool fail(const QString &what, const QString &why);

    QString m_path;
    QString m_connection;
    std::unique_ptr<QSqlQuery> m_insert;
    bool m_open = false;
    bool m_damaged = false;
    bool m_busy = false; // the last failure was another connection holding the file
    QString m_message;
};

} // namespace records
