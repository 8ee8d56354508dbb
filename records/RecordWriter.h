#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>

class QTimer;

#include <memory>
#include <optional>

namespace records {

class HistoryStore;

// Writes each finished game into the history on a thread of its own, so that the database never holds up
// the interface thread: submit() only hands the record over. The thread starts when it is first needed.
class RecordWriter : public QObject
{
    Q_OBJECT

public:
    explicit RecordWriter(QString path, QObject *parent = nullptr);
    ~RecordWriter() override; // writes what is still waiting

    void submit(const GameRecord &record);
    // Returns once every record submitted so far has been written or has failed.
    void flush();
    // Reads what charts and tables need of every game (the summary fields) on the writing thread, after the
    // records submitted before, and hands it over through historyRead(): a receiver connected to recorded()
    // before the request misses no later game and sees none twice. Looking never creates the file. The
    // answer carries the number returned here, so that each asker knows its own.
    quint64 requestHistory();
    // Writes every field of the games that filter accepts as CSV to path, on the writing thread; exported()
    // tells how it went (problem empty on success).
    void requestExport(const RecordFilter &filter, const QString &path);

    // While on, the writing thread looks every few seconds whether another copy of the game changed the
    // history, and says so through historyChanged().
    void setWatching(bool on);

    QString path() const { return m_path; }
    // The last thing that went wrong, or the note that a damaged file was moved aside.
    QString problem() const;

signals:
    void recorded(const records::GameRecord &record);
    void problemChanged(const QString &problem);
    void historyRead(quint64 request, const QList<records::GameRecord> &games, const QString &problem);
    void exported(const QString &path, int count, const QString &problem);
    void historyChanged();

private:
    void startThread();
    bool openStore(); // on the writing thread, as are the two below
    void write(const GameRecord &record);
    void report();
    void look(); // on the writing thread: compares the file's data version with the last one seen

    QString m_path;
    quint64 m_lastRequest = 0;
    mutable QMutex m_problemLock;
    QString m_problem;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
    std::unique_ptr<HistoryStore> m_store; // opened, used and closed on m_thread
    QTimer *m_watch = nullptr;              // lives on m_thread
    std::optional<qint64> m_dataVersion;    // read and written on m_thread only
};

} // namespace records
