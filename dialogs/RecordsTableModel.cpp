#include "dialogs/RecordsTableModel.h"

#include "records/ShownGames.h"

#include <QDateTime>

#include <array>
#include <iterator>

using records::GameRecord;
using records::ShownGames;

namespace {

const std::array<QString, records::RecordedKindCount> KindTexts = {
    QStringLiteral("色"),     QStringLiteral("別の記号"), QStringLiteral("似た記号"),
    QStringLiteral("消える"), QStringLiteral("移動"),     QStringLiteral("なし")};
const std::array<QString, 3> OutcomeTexts = {QStringLiteral("正解"), QStringLiteral("ギブアップ"),
                                             QStringLiteral("中断")};
const QString NoValue = QStringLiteral("---");

QString secondsText(double ms)
{
    return QString::number(ms / 1000, 'f', 2);
}

} // namespace

QString kindText(QuizKind kind)
{
    return KindTexts[static_cast<size_t>(kind)];
}

QString outcomeText(records::Outcome outcome)
{
    return OutcomeTexts[static_cast<size_t>(outcome)];
}

RecordsTableModel::RecordsTableModel(Table table, QStringList headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_headers(std::move(headers))
{
}

void RecordsTableModel::showStats(const ShownGames *stats)
{
    beginResetModel();
    m_stats = stats;
    m_rows = rowsNow();
    endResetModel();
}

void RecordsTableModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RecordsTableModel::rowInserted(int row)
{
    beginInsertRows({}, row, row);
    m_rows = rowsNow();
    endInsertRows();
}

int RecordsTableModel::rowsNow() const
{
    if (!m_stats)
        return 0;
    switch (m_table) {
    case Table::Kinds:
        // "None" only once such a game is shown.
        return records::RecordedKindCount - (m_stats->kind(KindNone).games == 0 ? 1 : 0);
    case Table::Best:
        return static_cast<int>(m_stats->bestPerCount().size());
    case Table::Today:
        return static_cast<int>(m_stats->today().size());
    }
    return 0;
}

int RecordsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant RecordsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers[section];
    return {};
}

QVariant RecordsTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_stats || !index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    return text(index.row(), index.column());
}

QString RecordsTableModel::text(int row, int column) const
{
    switch (m_table) {
    case Table::Kinds: {
        const records::KindSums &sums = m_stats->kind(static_cast<QuizKind>(row));
        const auto rate = ShownGames::hitRate(sums);
        switch (column) {
        case 0: return kindText(static_cast<QuizKind>(row));
        case 1: return QString::number(sums.games);
        case 2: return QString::number(sums.hits);
        case 3: return QString::number(sums.giveUps);
        case 4: return QString::number(sums.abandoned);
        case 5: return rate ? QStringLiteral("%1%").arg(qRound(*rate * 100)) : NoValue;
        case 6: return sums.hitMs.empty() ? NoValue : secondsText(sums.hitMs.middle());
        default: return sums.bestMs ? secondsText(static_cast<double>(*sums.bestMs)) : NoValue;
        }
    }
    case Table::Best: {
        const auto best = std::next(m_stats->bestPerCount().begin(), row);
        return column == 0 ? QString::number(best->first) : secondsText(static_cast<double>(best->second));
    }
    case Table::Today: {
        const QList<GameRecord> &today = m_stats->today();
        const GameRecord &game = today[today.size() - 1 - row];
        switch (column) {
        case 0: return QDateTime::fromMSecsSinceEpoch(game.startedMs).toString(QStringLiteral("hh:mm:ss"));
        case 1: return outcomeText(game.outcome);
        case 2: return secondsText(static_cast<double>(game.elapsedMs));
        case 3: return QString::number(game.items);
        default: return kindText(game.kind);
        }
    }
    }
    return {};
}
