#include "records/HistoryWorker.h"

#include "records/CsvWriter.h"
#include "records/PendingGames.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

} // namespace

HistoryWorker::HistoryWorker(QString path, StoreOptions options)
    : m_store(std::move(path), options)
    , m_retry(new QTimer(this))
    , m_retryDelayMs(FirstRetryMs)
    , m_poll(new QTimer(this))
{
    m_retry->setObjectName(QStringLiteral("timRetry"));
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &HistoryWorker::writeQueue);
    m_poll->setObjectName(QStringLiteral("timPoll"));
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &HistoryWorker::poll);
}

QStringList HistoryWorker::lostNotePaths(const QString &historyPath)
{
    // The history's folder, then each folder above it: the first that can be written takes the note, and
    // the next start looks in the same places.
    const QFileInfo history(historyPath);
    const QByteArray key =
        QCryptographicHash::hash(history.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString name = QStringLiteral("ivok2-%1.lost").arg(QLatin1String(key));
    QStringList paths;
    for (QDir folder = history.absoluteDir();; folder.setPath(QFileInfo(folder.absolutePath()).path())) {
        paths.append(folder.filePath(name));
        if (folder.isRoot())
            return paths;
    }
}

void HistoryWorker::start()
{
    int count = 0;
    for (const QString &path : lostNotePaths(m_store.path())) {
        QFile lost(path);
        if (!lost.open(QIODevice::ReadOnly))
            continue;
        count += lost.readAll().trimmed().toInt();
        lost.close();
        lost.remove();
    }
    if (count > 0) {
        report(QCoreApplication::translate("HistoryWorker",
                                           "前回の終了時、%n 件のゲームを記録できませんでした（%1 にも %2 にも書き込めませんでした）。",
                                           nullptr, count)
                   .arg(QDir::toNativeSeparators(m_store.path()),
                        QDir::toNativeSeparators(pendingPath(m_store.path()))));
    }
    const QString pending = pendingPath(m_store.path());
    if (!QFileInfo::exists(pending))
        return;
    const QList<GameRecord> games = readPending(pending);
    const StoreOutcome outcome = games.isEmpty() ? StoreOutcome{} : m_store.append(games);
    if (!outcome.done()) {
        // They stay in the file for the next start.
        report(outcome.text);
        return;
    }
    QFile::remove(pending);
    for (const GameRecord &game : games)
        emit recorded(game);
    // Success alone leaves a word about games lost last time in place.
    if (!outcome.text.isEmpty())
        report(outcome.text);
}

void HistoryWorker::submit(const GameRecord &record)
{
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
                                       nullptr, static_cast<int>(m_queue.size()))
               .arg(outcome.text));
    // A newer history stays as it is: its games wait for the end of the program and the pending file.
    if (outcome.status == StoreStatus::Newer)
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
    writeQueue();
    if (m_queue.isEmpty())
        return;
    if (appendPending(pendingPath(m_store.path()), m_queue))
        return;
    // Nothing of the history's folder can be written: a word elsewhere tells the next start.
    for (const QString &path : lostNotePaths(m_store.path())) {
        QFile lost(path);
        int count = static_cast<int>(m_queue.size());
        if (lost.open(QIODevice::ReadOnly))
            count += lost.readAll().trimmed().toInt();
        lost.close();
        if (lost.open(QIODevice::WriteOnly | QIODevice::Truncate) && lost.write(QByteArray::number(count)) > 0
            && lost.flush())
            return;
    }
}

void HistoryWorker::report(const QString &problem)
{
    if (problem == m_reported)
        return;
    m_reported = problem;
    emit problemChanged(problem);
}

} // namespace records
