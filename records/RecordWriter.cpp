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
    // The answers are emitted on the writing thread, as the worker gives them, so that their order holds for
    // every receiver.
    connect(m_worker, &HistoryWorker::recorded, this, &RecordWriter::recorded, Qt::DirectConnection);
    connect(m_worker, &HistoryWorker::historyRead, this, &RecordWriter::historyRead, Qt::DirectConnection);
    connect(m_worker, &HistoryWorker::exported, this, &RecordWriter::exported, Qt::DirectConnection);
    connect(m_worker, &HistoryWorker::historyChanged, this, &RecordWriter::historyChanged, Qt::DirectConnection);
    connect(
        m_worker, &HistoryWorker::problemChanged, this,
        [this](const QString &problem) {
            {
                const QMutexLocker lock(&m_problemLock);
                m_problem = problem;
            }
            emit problemChanged(problem);
        },
        Qt::DirectConnection);
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

QString RecordWriter::problem() const
{
    const QMutexLocker lock(&m_problemLock);
    return m_problem;
}

} // namespace records
