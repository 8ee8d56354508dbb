#include "records/RecordWriter.h"

#include "records/CsvWriter.h"
#include "records/HistoryStore.h"

#include <QFileInfo>
#include <QSaveFile>

namespace records {

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
    QMetaObject::invokeMethod(m_worker, [this] { m_store.reset(); }, Qt::BlockingQueuedConnection);
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

QList<GameRecord> RecordWriter::history()
{
    startThread();
    QList<GameRecord> result;
    QMetaObject::invokeMethod(
        m_worker,
        [this, &result] {
            // Looking must not create the file.
            if (!m_store && !QFileInfo::exists(m_path))
                return;
            if (!openStore())
                return;
            if (const auto read = m_store->read({}, HistoryStore::Fields::Summary))
                result = *read;
            else
                report();
        },
        Qt::BlockingQueuedConnection);
    return result;
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
