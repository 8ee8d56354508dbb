#include "records/RecordWriter.h"

#include "records/CsvWriter.h"
#include "records/HistoryStore.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

namespace records {

namespace {

constexpr int WatchIntervalMs = 2000;

} // namespace

RecordWriter::RecordWriter(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
{
    m_thread.setObjectName(QStringLiteral("history writer"));
}

RecordWriter::~RecordWriter()
{
    if (!m_thread.isRunning())
        return;
    QMetaObject::invokeMethod(
        m_worker,
        [this] {
            delete m_watch;
            m_store.reset();
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void RecordWriter::startThread()
{
    if (m_thread.isRunning())
        return;
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    m_thread.start(QThread::LowPriority);
}

void RecordWriter::submit(const GameRecord &record)
{
    startThread();
    QMetaObject::invokeMethod(m_worker, [this, record] { write(record); }, Qt::QueuedConnection);
}

void RecordWriter::flush()
{
    if (m_thread.isRunning())
        QMetaObject::invokeMethod(m_worker, [] {}, Qt::BlockingQueuedConnection);
}

quint64 RecordWriter::requestHistory()
{
    startThread();
    const quint64 request = ++m_lastRequest;
    QMetaObject::invokeMethod(
        m_worker,
        [this, request] {
            QList<GameRecord> games;
            QString problem;
            if (m_store || QFileInfo::exists(m_path)) {
                if (!openStore()) {
                    problem = m_store->message();
                } else if (const auto read = m_store->read({}, HistoryStore::Fields::Summary)) {
                    games = *read;
                } else {
                    problem = m_store->message();
                    report();
                }
            }
            emit historyRead(request, games, problem);
        },
        Qt::QueuedConnection);
    return request;
}

void RecordWriter::requestExport(const RecordFilter &filter, const QString &path)
{
    startThread();
    QMetaObject::invokeMethod(
        m_worker,
        [this, filter, path] {
            QList<GameRecord> games;
            if (m_store || QFileInfo::exists(m_path)) {
                const auto read = openStore() ? m_store->read(filter) : std::nullopt;
                if (!read) {
                    emit exported(path, 0, m_store->message());
                    return;
                }
                games = *read;
            }
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly) && writeCsv(file, games) && file.commit())
                emit exported(path, static_cast<int>(games.size()), QString());
            else
                emit exported(path, 0, file.errorString());
        },
        Qt::QueuedConnection);
}

void RecordWriter::setWatching(bool on)
{
    startThread();
    QMetaObject::invokeMethod(
        m_worker,
        [this, on] {
            if (!m_watch) {
                m_watch = new QTimer(m_worker);
                m_watch->setObjectName(QStringLiteral("timWatchHistory"));
                m_watch->setInterval(WatchIntervalMs);
                connect(m_watch, &QTimer::timeout, m_worker, [this] { look(); });
            }
            if (!on) {
                m_watch->stop();
                return;
            }
            // What the caller is about to read is the base: only later changes count.
            m_dataVersion.reset();
            look();
            m_watch->start();
        },
        Qt::QueuedConnection);
}

void RecordWriter::look()
{
    if (!m_store && !QFileInfo::exists(m_path))
        return;
    if (!openStore())
        return;
    const auto version = m_store->dataVersion();
    if (!version)
        return;
    if (m_dataVersion && *version != *m_dataVersion)
        emit historyChanged();
    m_dataVersion = version;
}

QString RecordWriter::problem() const
{
    const QMutexLocker lock(&m_problemLock);
    return m_problem;
}

bool RecordWriter::openStore()
{
    if (!m_store)
        m_store = std::make_unique<HistoryStore>(m_path);
    const bool opened = m_store->open();
    report();
    return opened;
}

void RecordWriter::write(const GameRecord &record)
{
    if (!openStore())
        return;
    if (m_store->append({record}))
        emit recorded(record);
    else
        report();
}

void RecordWriter::report()
{
    const QString message = m_store->message();
    if (message.isEmpty())
        return;
    {
        const QMutexLocker lock(&m_problemLock);
        m_problem = message;
    }
    emit problemChanged(message);
}

} // namespace records
