#include "records/RecordWriter.h"

#include "records/HistoryStore.h"

namespace records {

RecordWriter::RecordWriter(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
{
    m_thread.setObjectName(QStringLiteral("history writer"));
    connect(this, &RecordWriter::problemChanged, this, [this](const QString &problem) { m_problem = problem; });
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

void RecordWriter::submit(const GameRecord &record)
{
    if (!m_thread.isRunning()) {
        m_worker = new QObject;
        m_worker->moveToThread(&m_thread);
        m_thread.start(QThread::LowPriority);
    }
    QMetaObject::invokeMethod(m_worker, [this, record] { write(record); }, Qt::QueuedConnection);
}

void RecordWriter::flush()
{
    if (m_thread.isRunning())
        QMetaObject::invokeMethod(m_worker, [] {}, Qt::BlockingQueuedConnection);
}

void RecordWriter::write(const GameRecord &record)
{
    if (!m_store)
        m_store = std::make_unique<HistoryStore>(m_path);
    const bool written = m_store->append({record});
    if (written)
        emit recorded(record);
    if (!m_store->message().isEmpty())
        emit problemChanged(m_store->message());
}

} // namespace records
