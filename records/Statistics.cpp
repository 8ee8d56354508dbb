#include "records/Statistics.h"

#include <algorithm>

namespace records {

namespace {

// The median of a sample that is not empty; reorders it.
double middleOf(std::vector<double> &values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

} // namespace

std::optional<double> median(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    return middleOf(values);
}

std::vector<double> movingMedian(const std::vector<double> &values, int window)
{
    std::vector<double> result;
    result.reserve(values.size());
    const auto span = static_cast<std::ptrdiff_t>(std::max(window, 1));
    std::vector<double> recent;
    recent.reserve(static_cast<size_t>(span));
    for (auto end = values.begin(); end != values.end(); ++end) {
        recent.assign(std::max(values.begin(), end + 1 - span), end + 1);
        result.push_back(middleOf(recent));
    }
    return result;
}

std::optional<double> hitRate(int hits, int games)
{
    if (games <= 0)
        return std::nullopt;
    return static_cast<double>(hits) / games;
}

std::map<int, qint64> bestPerCount(const QList<GameRecord> &records)
{
    std::map<int, qint64> best;
    for (const GameRecord &record : records) {
        if (record.outcome != Outcome::Hit)
            continue;
        const auto [entry, inserted] = best.try_emplace(record.items, record.elapsedMs);
        if (!inserted)
            entry->second = std::min(entry->second, record.elapsedMs);
    }
    return best;
}

std::array<KindSummary, KindCount> kindTable(const QList<GameRecord> &records)
{
    std::array<KindSummary, KindCount> table{};
    std::array<std::vector<double>, KindCount> hitTimes;
    for (const GameRecord &record : records) {
        const auto kind = static_cast<size_t>(record.kind);
        KindSummary &row = table[kind];
        ++row.games;
        if (record.outcome == Outcome::GiveUp)
            ++row.giveUps;
        if (record.outcome != Outcome::Hit)
            continue;
        ++row.hits;
        hitTimes[kind].push_back(static_cast<double>(record.elapsedMs));
        row.bestMs = row.bestMs ? std::min(*row.bestMs, record.elapsedMs) : record.elapsedMs;
    }
    for (size_t kind = 0; kind < table.size(); ++kind) {
        table[kind].hitRate = hitRate(table[kind].hits, table[kind].games);
        table[kind].medianMs = median(std::move(hitTimes[kind]));
    }
    return table;
}

QList<QPointF> thinned(const QList<QPointF> &points, int buckets)
{
    if (buckets <= 0 || points.size() <= 2 * buckets)
        return points;
    QList<QPointF> result;
    result.reserve(2 * buckets);
    const qsizetype count = points.size();
    for (qsizetype bucket = 0; bucket < buckets; ++bucket) {
        const qsizetype begin = count * bucket / buckets;
        const qsizetype end = count * (bucket + 1) / buckets;
        qsizetype low = begin;
        qsizetype high = begin;
        for (qsizetype i = begin + 1; i < end; ++i) {
            if (points[i].y() < points[low].y())
                low = i;
            if (points[i].y() > points[high].y())
                high = i;
        }
        result.append(points[std::min(low, high)]);
        if (low != high)
            result.append(points[std::max(low, high)]);
    }
    return result;
}

} // namespace records
