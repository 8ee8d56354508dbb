#pragma once

#include "records/GameRecord.h"
#include "records/HistoryStore.h"
#include "records/Staircase.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>

namespace records {

class HistoryWorker;

// The history service: every read, write and export of the history runs on a thread of its own, which holds
// the only connection, so that the database never holds up the interface thread. Every call here only hands
// the work over; answers come as signals, emitted on this object's own thread in the order the work was handed
// over.
// A game the file cannot take for the moment (locked, disk full, folder read-only) waits and is tried again;
// what is still waiting when the writer goes is kept in history.pending and merged in at the next start.
class RecordWriter : public QObject
{
    Q_OBJECT

public:
    explicit RecordWriter(QString path, QObject *parent = nullptr);
    RecordWriter(QString path, StoreOptions options, QObject *parent = nullptr);
    ~RecordWriter() override; // tries what is still waiting once more and keeps the rest for the next start

    void submit(const GameRecord &record);
    // The program is about to end: from here on no write waits for another program's lock longer than a
    // commit takes, and a game that finds the file held goes to the pending file when the writer goes.
    void endComing();
    // For tests and benchmarks: returns once every record submitted so far has been written or has failed,
    // running the calling thread's events meanwhile.
    void flush();

    // Reads what charts and tables need of every game (the summary fields) on the writing thread, after the
    // records submitted before, and hands it over through historyRead(): a receiver connected to recorded()
    // before the request misses no later game and sees none twice. Looking never creates the file. The
    // answer carries the number returned here, so that each asker knows its own.
    quint64 requestHistory();
    // Writes every field of the games that filter accepts as CSV to path, on the writing thread; exported()
    // tells how it went (problem empty on success).
    void requestExport(const RecordFilter &filter, const QString &path);
    // While watching, historyChanged() tells every few seconds that another copy of the game wrote.
    void setWatching(bool watching);

    // Works out the training level on the writing thread, from the training games of the history and those still
    // waiting to be written, after the records submitted before; levelRead() hands it over with the number
    // returned here. Where the history cannot be read, status says why and the staircase is the lowest.
    quint64 requestLevel();
    // While watching the level, levelOutdated() tells within a few seconds that another copy of the game wrote,
    // or that a history that could not be read can be read again.
    void setWatchingLevel(bool watching);

    QString path() const { return m_path; }
    // What the player should know: why the last write failed, or that a damaged file was moved aside; empty
    // once a write succeeds.
    QString problem() const;

signals:
    void recorded(const records::GameRecord &record);
    void problemChanged(const QString &problem);
    void historyRead(quint64 request, const QList<records::GameRecord> &games, const QString &problem);
    void exported(const QString &path, int count, const QString &problem);
    void historyChanged();
    void levelRead(quint64 request, const records::Staircase &staircase, records::StoreStatus status);
    void levelOutdated();

private:
    QString m_path;
    quint64 m_lastRequest = 0;
    QString m_problem;
    QThread m_thread;
    HistoryWorker *m_worker; // lives on m_thread, deleted when it ends
};

} // namespace records
