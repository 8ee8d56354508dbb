#pragma once

#include "records/GameRecord.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

namespace records {

class HistoryStore;

// Writes each finished game into the history on a thread of its own, so that the database never holds up
// the interface thread: submit() only hands the record over. The thread starts with the first record.
class RecordWriter : public QObject
{
    Q_OBJECT

public:
    explicit RecordWriter(QString path, QObject *parent = nullptr);
    ~RecordWriter() override; // writes what is still waiting

    void submit(const GameRecord &record);
    // Returns once every record submitted so far has been written or has failed.
    void flush();

    QString path() const { return m_path; }
    // The last thing that went wrong, or the note that a damaged file was moved aside.
    QString problem() const { return m_problem; }

signals:
    void recorded(const records::GameRecord &record);
    void problemChanged(const QString &problem);

private:
    void write(const GameRecord &record); // on the writing thread

    QString m_path;
    QString m_problem;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
    std::unique_ptr<HistoryStore> m_store; // opened, used and closed on m_thread
};

} // namespace records
