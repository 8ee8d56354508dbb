#include "records/HistoryWorker.h"

#include "records/CsvWriter.h"
#include "records/HistoryLocation.h"
#include "records/PendingGames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace records {

namespace {

// A passing failure is tried again after this long, twice as long each time after, up to the longest.
constexpr int FirstRetryMs = 500;
constexpr int LongestRetryMs = 60000;
// How often an open records window, and training, learn of games other copies wrote.
constexpr int PollMs = 2000;
// Once the program ends, a write waits for another copy's transaction no longer than a commit takes: what
// finds the file held longer goes to the pending file, and the program ends at once.
constexpr int EndBusyTimeoutMs = 100;
// How long a merge waits for another copy that holds the pending file.
constexpr int PendingLockMs = 5000;

} // namespace

HistoryWorker::HistoryWorker(QString path, StoreOptions options)
    : m_store(std::move(path), options)
    , m_retry(new QTimer(this))
    , m_retryDelayMs(FirstRetryMs)
    , m_poll(new QTimer(this))
    , m_pendingPaths(pendingPaths(m_store.path(), spareFolders()))
{
    m_retry->setObjectName(QStringLiteral("timRetry"));
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &HistoryWorker::writeQueue);
    m_poll->setObjectName(QStringLiteral("timPoll"));
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &HistoryWorker::poll);
}

void HistoryWorker::start()
{
    for (const QString &pending : m_pendingPaths)
        merge(pending);
}

void HistoryWorker::merge(const QString &pending)
{
    if (!QFileInfo::exists(pending))
        return;
    QLockFile lock(lockPath(pending));
    if (!lock.tryLock(PendingLockMs)) {
        report(QCoreApplication::translate("HistoryWorker", "前回までに記録できなかったゲーム（%1）を、別のIvok２が使っているため、まだ記録していません。次の起動で記録します。")
                   .arg(QDir::toNativeSeparators(pending)));
        return;
    }
    // Another copy held the lock to merge the same file: nothing is left.
    if (!QFileInfo::exists(pending))
        return;
    const PendingLines read = readPending(pending);
    QList<QByteArray> kept; // what stays in the pending file
    QString rejected;
    if (!read.rejected.isEmpty()) {
        if (appendLines(rejectedPath(pending), read.rejected))
            // int(), not static_cast: lupdate passes over a count written with angle brackets.
            rejected = QCoreApplication::translate("HistoryWorker", "記録できない %n 行を %1 に移しました。", nullptr,
                                                   int(read.rejected.size()))
                           .arg(QDir::toNativeSeparators(rejectedPath(pending)));
        else
            kept = read.rejected;
    }
    QList<GameRecord> inserted;
    const StoreOutcome outcome = read.games.isEmpty() ? StoreOutcome{} : m_store.append(read.games, &inserted);
    if (!outcome.done())
        kept += read.gameLines;
    // Removed or rewritten before the lock goes, so that no copy merges the same games again.
    if (kept.isEmpty()) {
        QFile::remove(pending);
    } else if (kept.size() < read.gameLines.size() + read.rejected.size()) {
        QSaveFile file(pending);
        QByteArray bytes;
        for (const QByteArray &line : kept)
            bytes += line.endsWith('\n') ? line : line + '\n';
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            file.commit();
    }
    lock.unlock();
    for (const GameRecord &game : inserted)
        emit recorded(game);
    // Success alone leaves a word about a damaged file moved aside or lines moved to the rejected file.
    const QString told = outcome.text + rejected;
    if (!told.isEmpty())
        report(told);
}

void HistoryWorker::endComing()
{
    m_ending = true;
    m_store.setBusyTimeout(EndBusyTimeoutMs);
}

void HistoryWorker::submit(GameRecord record)
{
    if (record.key.isEmpty())
        record.key = newGameKey(record.startedMs);
    m_queue.append(record);
    writeQueue();
}

void HistoryWorker::writeQueue()
{
    if (m_queue.isEmpty())
        return;
    const StoreOutcome outcome = m_store.append(m_queue);
    if (!outcome.done()) {
        retryLater(outcome);
        return;
    }
    m_retry->stop();
    m_retryDelayMs = FirstRetryMs;
    const QList<GameRecord> written = std::exchange(m_queue, {});
    for (const GameRecord &game : written)
        emit recorded(game);
    report(outcome.text);
}

void HistoryWorker::retryLater(const StoreOutcome &outcome)
{
    report(QCoreApplication::translate("HistoryWorker", "%1まだ記録していないゲーム %n 件は、書き込めるようになりしだい記録します。",
                                       nullptr, int(m_queue.size()))
               .arg(outcome.text));
    // A newer history stays as it is: its games wait for the end of the program and the pending file, as
    // do the games of a program that is ending.
    if (outcome.status == StoreStatus::Newer || m_ending)
        return;
    m_retry->start(m_retryDelayMs);
    m_retryDelayMs = qMin(2 * m_retryDelayMs, LongestRetryMs);
}

void HistoryWorker::readHistory(quint64 request)
{
    // Looking never creates the file.
    if (!QFileInfo::exists(m_store.path())) {
        emit historyRead(request, {}, {});
        return;
    }
    const StoreRead read = m_store.read({}, HistoryStore::Fields::Summary);
    emit historyRead(request, read.games, read.outcome.text);
    if (!read.outcome.text.isEmpty())
        report(read.outcome.text);
}

void HistoryWorker::readLevel(quint64 request)
{
    QList<GameRecord> games;
    // Looking never creates the file.
    if (QFileInfo::exists(m_store.path())) {
        const StoreRead read = m_store.readTraining();
        if (!read.outcome.text.isEmpty())
            report(read.outcome.text);
        if (!read.outcome.done()) {
            emit levelRead(request, {}, read.outcome.status);
            return;
        }
        games = read.games;
    }
    // The games the file could not take yet count as well, where they were played.
    for (const GameRecord &game : std::as_const(m_queue)) {
        if (game.mode == Mode::Training)
            games.append(game);
    }
    std::stable_sort(games.begin(), games.end(),
                     [](const GameRecord &a, const GameRecord &b) { return a.startedMs < b.startedMs; });
    emit levelRead(request, replay(games), StoreStatus::Done);
}

void HistoryWorker::exportTo(const RecordFilter &filter, const QString &path)
{
    QList<GameRecord> games;
    if (QFileInfo::exists(m_store.path())) {
        const StoreRead read = m_store.read(filter);
        if (!read.outcome.done()) {
            emit exported(path, 0, read.outcome.text);
            return;
        }
        games = read.games;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && writeCsv(file, games) && file.commit())
        emit exported(path, static_cast<int>(games.size()), QString());
    else
        emit exported(path, 0,
                      QCoreApplication::translate("HistoryWorker", "CSVファイル %1 に書き込めません。書き込める場所を選んでください。")
                          .arg(QDir::toNativeSeparators(path)));
}

void HistoryWorker::setWatching(bool watching)
{
    m_watchingHistory = watching;
    watch();
}

void HistoryWorker::setWatchingLevel(bool watching)
{
    m_watchingLevel = watching;
    watch();
}

void HistoryWorker::watch()
{
    if (!m_watchingHistory && !m_watchingLevel) {
        m_poll->stop();
        m_seenVersion.reset();
        return;
    }
    if (m_poll->isActive())
        return;
    m_seenVersion = QFileInfo::exists(m_store.path()) ? m_store.dataVersion() : std::nullopt;
    m_poll->start();
}

void HistoryWorker::poll()
{
    if (!QFileInfo::exists(m_store.path()))
        return;
    const std::optional<qint64> version = m_store.dataVersion();
    if (version && m_seenVersion && *version != *m_seenVersion && m_watchingHistory)
        emit historyChanged();
    // A history that can be read again, after a lock or where another copy created it, may hold a new level.
    if (version && version != m_seenVersion && m_watchingLevel)
        emit levelOutdated();
    m_seenVersion = version;
}

void HistoryWorker::finish()
{
    m_poll->stop();
    m_retry->stop();
    endComing();
    writeQueue();
    if (m_queue.isEmpty())
        return;
    for (const QString &pending : m_pendingPaths) {
        if (appendPending(pending, m_queue))
            return;
    }
    QStringList places;
    for (const QString &pending : m_pendingPaths)
        places.append(QDir::toNativeSeparators(QFileInfo(pending).absolutePath()));
    noteLostAtEnd(QCoreApplication::translate("HistoryWorker",
                                              "%n 件のゲームを記録できませんでした。記録ファイル %1 にも、控えの場所（%2）にも書き込めません。",
                                              nullptr, int(m_queue.size()))
                      .arg(QDir::toNativeSeparators(m_store.path()),
                           //: Between the places named in a list.
                           places.join(QCoreApplication::translate("HistoryWorker", "、"))));
}

void HistoryWorker::report(const QString &problem)
{
    if (problem == m_reported)
        return;
    m_reported = problem;
    emit problemChanged(problem);
}

} // namespace records
