#include "dialogs/RecordsTableModel.h"

#include "platform/Translation.h"
#include "records/ShownGames.h"

#include <QCoreApplication>

#include <QDateTime>

#include <array>
#include <iterator>

using records::GameRecord;
using records::ShownGames;

namespace {

const std::array<const char *, records::RecordedKindCount> KindTexts = {
    QT_TRANSLATE_NOOP("RecordsTableModel", "色"),     QT_TRANSLATE_NOOP("RecordsTableModel", "別の記号"),
    QT_TRANSLATE_NOOP("RecordsTableModel", "似た記号"), QT_TRANSLATE_NOOP("RecordsTableModel", "消える"),
    QT_TRANSLATE_NOOP("RecordsTableModel", "移動"),   QT_TRANSLATE_NOOP("RecordsTableModel", "なし")};
const std::array<const char *, 3> OutcomeTexts = {QT_TRANSLATE_NOOP("RecordsTableModel", "正解"),
                                                  QT_TRANSLATE_NOOP("RecordsTableModel", "ギブアップ"),
                                                  QT_TRANSLATE_NOOP("RecordsTableModel", "中断")};
const QString NoValue = QStringLiteral("---");

QString secondsText(double ms)
{
    return platform::displayLocale().toString(ms / 1000, 'f', 2);
}

QString countText(int count)
{
    return platform::displayLocale().toString(count);
}

} // namespace

QString kindText(QuizKind kind)
{
    return QCoreApplication::translate("RecordsTableModel", KindTexts[static_cast<size_t>(kind)]);
}

QString outcomeText(records::Outcome outcome)
{
    return QCoreApplication::translate("RecordsTableModel", OutcomeTexts[static_cast<size_t>(outcome)]);
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

void RecordsTableModel::showWords(QStringList headers)
{
    m_headers = std::move(headers);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
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
        case 1: return countText(sums.games);
        case 2: return countText(sums.hits);
        case 3: return countText(sums.giveUps);
        case 4: return countText(sums.abandoned);
        //: A hit rate in percent.
        case 5: return rate ? tr("%1%").arg(countText(qRound(*rate * 100))) : NoValue;
        case 6: return sums.hitMs.empty() ? NoValue : secondsText(sums.hitMs.middle());
        default: return sums.bestMs ? secondsText(static_cast<double>(*sums.bestMs)) : NoValue;
        }
    }
    case Table::Best: {
        const auto best = std::next(m_stats->bestPerCount().begin(), row);
        return column == 0 ? countText(best->first) : secondsText(static_cast<double>(best->second));
    }
    case Table::Today: {
        const QList<GameRecord> &today = m_stats->today();
        const GameRecord &game = today[today.size() - 1 - row];
        switch (column) {
        case 0: return platform::shownTime(QDateTime::fromMSecsSinceEpoch(game.startedMs).time());
        case 1: return outcomeText(game.outcome);
        case 2: return secondsText(static_cast<double>(game.elapsedMs));
        case 3: return countText(game.items);
        default: return kindText(game.kind);
        }
    }
    }
    return {};
}
