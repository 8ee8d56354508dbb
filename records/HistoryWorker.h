#pragma once

#include "records/GameRecord.h"
#include "records/HistoryStore.h"
#include "records/Staircase.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QTimer;

namespace records {

// The history service's side on the writer thread: it owns the only connection to the history, keeps the
// games the file could not take yet and tries them again, and watches for games other copies write. Every
// member is called on that thread.
class HistoryWorker : public QObject
{
    Q_OBJECT

public:
    HistoryWorker(QString path, StoreOptions options);

    // Merges the games former runs left in the pending files.
    void start();
    // Gives the record a key where it has none and writes it after those before.
    void submit(GameRecord record);
    void readHistory(quint64 request);
    // The training level from the history's training games and the games still waiting to be written.
    void readLevel(quint64 request);
    void exportTo(const RecordFilter &filter, const QString &path);
    void setWatching(bool watching);
    void setWatchingLevel(bool watching);
    // The program is ending: no write waits for another copy's transaction any longer than a commit takes.
    void endComing();
    // At the end of the program: one more try, then what is left goes to the first pending file that can be
    // written; what none can take is noted for the player (takeLostAtEnd()).
    void finish();

signals:
    void recorded(const records::GameRecord &record);
    void problemChanged(const QString &problem);
    void historyRead(quint64 request, const QList<records::GameRecord> &games, const QString &problem);
    void exported(const QString &path, int count, const QString &problem);
    void historyChanged();
    void levelRead(quint64 request, const records::Staircase &staircase, records::StoreStatus status);
    void levelOutdated();

private:
    void writeQueue();
    void retryLater(const StoreOutcome &outcome);
    void watch();
    void poll();
    void report(const QString &problem);
    void merge(const QString &pending);

    HistoryStore m_store;
    QList<GameRecord> m_queue; // in order of submission, each waiting for a write that succeeds
    QTimer *m_retry;
    int m_retryDelayMs;
    QTimer *m_poll;
    bool m_watchingHistory = false; // for the records window
    bool m_watchingLevel = false;   // for training
    std::optional<qint64> m_seenVersion;
    QString m_reported;
    QStringList m_pendingPaths; // beside the history first, then the spare folders
    bool m_ending = false;
};

} // namespace records
