#pragma once

#include "records/GameRecord.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace records {
class ShownGames;
}

// The words the records window shows for a kind of change and for an outcome.
QString kindText(QuizKind kind);
QString outcomeText(records::Outcome outcome);

// One of the records window's tables, read straight from the statistics of the games shown: per kind, the
// best per symbol count, or today's games (newest first). The window says what a new game changed.
class RecordsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Table { Kinds, Best, Today };

    RecordsTableModel(Table table, QStringList headers, QObject *parent = nullptr);

    // Shows these statistics anew (nothing for none); they must outlive their showing.
    void showStats(const records::ShownGames *stats);
    // The words of the language now chosen: these headers, and every cell read again.
    void showWords(QStringList headers);
    void rowChanged(int row);
    void rowInserted(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int rowsNow() const;
    QString text(int row, int column) const;

    Table m_table;
    QStringList m_headers;
    const records::ShownGames *m_stats = nullptr;
    int m_rows = 0; // what the views were told, which lags the statistics while a change is announced
};
