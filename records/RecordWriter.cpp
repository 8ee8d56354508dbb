#include "records/RecordWriter.h"

#include "records/HistoryWorker.h"

#include <QEventLoop>

namespace records {

namespace {

// A game that finds the file locked waits in the queue rather than in SQLite: a short wait keeps the requests
// behind it (the records window opening) answered soon after the lock goes, and tells the player sooner.
StoreOptions writerOptions()
{
    StoreOptions options;
    options.busyTimeoutMs = 1000;
    return options;
}

} // namespace

RecordWriter::RecordWriter(QString path, QObject *parent)
    : RecordWriter(std::move(path), writerOptions(), parent)
{
}

RecordWriter::RecordWriter(QString path, StoreOptions options, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_worker(new HistoryWorker(m_path, options))
{
    m_thread.setObjectName(QStringLiteral("history writer"));
    // The worker's answers are emitted again on this object's thread, so that a receiver without a thread of its
    // own runs there too; one queue carries them all, so their order holds for every receiver.
    connect(m_worker, &HistoryWorker::recorded, this, &RecordWriter::recorded, Qt::QueuedConnection);
    connect(m_worker, &HistoryWorker::historyRead, this, &RecordWriter::historyRead, Qt::QueuedConnection);
    connect(m_worker, &HistoryWorker::exported, this, &RecordWriter::exported, Qt::QueuedConnection);
    connect(m_worker, &HistoryWorker::historyChanged, this, &RecordWriter::historyChanged, Qt::QueuedConnection);
    connect(m_worker, &HistoryWorker::levelRead, this, &RecordWriter::levelRead, Qt::QueuedConnection);
    connect(m_worker, &HistoryWorker::levelOutdated, this, &RecordWriter::levelOutdated, Qt::QueuedConnection);
    connect(
        m_worker, &HistoryWorker::problemChanged, this,
        [this](const QString &problem) {
            m_problem = problem;
            emit problemChanged(problem);
        },
        Qt::QueuedConnection);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_worker->moveToThread(&m_thread);
    m_thread.start(QThread::LowPriority);
    QMetaObject::invokeMethod(m_worker, &HistoryWorker::start, Qt::QueuedConnection);
}

RecordWriter::~RecordWriter()
{
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker] {
            worker->finish();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    m_thread.wait();
}

void RecordWriter::submit(const GameRecord &record)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, record] { worker->submit(record); }, Qt::QueuedConnection);
}

void RecordWriter::endComing()
{
    QMetaObject::invokeMethod(m_worker, &HistoryWorker::endComing, Qt::QueuedConnection);
}

void RecordWriter::flush()
{
    QEventLoop loop;
    QMetaObject::invokeMethod(
        m_worker, [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); },
        Qt::QueuedConnection);
    loop.exec();
}

quint64 RecordWriter::requestHistory()
{
    const quint64 request = ++m_lastRequest;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, request] { worker->readHistory(request); },
                              Qt::QueuedConnection);
    return request;
}

void RecordWriter::requestExport(const RecordFilter &filter, const QString &path)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, filter, path] { worker->exportTo(filter, path); },
                              Qt::QueuedConnection);
}

void RecordWriter::setWatching(bool watching)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, watching] { worker->setWatching(watching); },
                              Qt::QueuedConnection);
}

quint64 RecordWriter::requestLevel()
{
    const quint64 request = ++m_lastRequest;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, request] { worker->readLevel(request); },
                              Qt::QueuedConnection);
    return request;
}

void RecordWriter::setWatchingLevel(bool watching)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, watching] { worker->setWatchingLevel(watching); },
                              Qt::QueuedConnection);
}

QString RecordWriter::problem() const
{
    return m_problem;
}

} // namespace records
