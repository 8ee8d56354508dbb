#include "records/ShownGames.h"

#include "records/Statistics.h"

#include <algorithm>
#include <cmath>

namespace records {

namespace {

constexpr double MinimumTop = 10;
constexpr double Headroom = 1.2;

} // namespace

ShownGames::ShownGames(int bucketSize, qint64 todayMs)
    : m_bucketSize(std::max(bucketSize, 1))
    , m_todayMs(todayMs)
    , m_scaleTop(MinimumTop)
{
}

std::optional<double> ShownGames::hitRate(const KindSums &sums)
{
    return records::hitRate(sums.hits, sums.hits + sums.giveUps);
}

double ShownGames::stepOf(double top)
{
    // 1, 2 or 5 times a power of ten, so that ten steps or fewer reach the top.
    const double raw = top / 10;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= raw)
            return factor * power;
    return 10 * power;
}

double ShownGames::roundedTop(double seconds)
{
    if (seconds <= MinimumTop)
        return MinimumTop;
    const double step = stepOf(seconds);
    return std::ceil(seconds / step - 1e-9) * step;
}

ShownChange ShownGames::add(const GameRecord &record)
{
    ShownChange change;
    const double x = ++m_count;
    change.bucketAdded = m_buckets.empty() || (m_count - 1) % m_bucketSize == 0;
    if (change.bucketAdded)
        m_buckets.emplace_back();
    ChartBucket &bucket = m_buckets.back();

    change.kind = static_cast<int>(record.kind);
    KindSums &sums = m_kinds[static_cast<size_t>(record.kind)];
    change.kindAdded = ++sums.games == 1;
    if (record.mode == Mode::Training) {
        ++m_training;
        bucket.level = QPointF(x, record.level);
    }
    if (record.startedMs >= m_todayMs) {
        m_today.append(record);
        change.today = true;
    }
    switch (record.outcome) {
    case Outcome::Abandoned:
        ++sums.abandoned;
        return change;
    case Outcome::GiveUp:
        ++sums.giveUps;
        if (!bucket.giveUp)
            bucket.giveUp = QPointF(x, 0);
        return change;
    case Outcome::Hit:
        break;
    }

    ++sums.hits;
    const auto ms = record.elapsedMs;
    sums.hitMs.add(static_cast<double>(ms));
    sums.bestMs = std::min(sums.bestMs.value_or(ms), ms);
    const auto [best, added] = m_best.try_emplace(record.items, ms);
    if (added || ms < best->second) {
        best->second = ms;
        change.bestRow = static_cast<int>(std::distance(m_best.begin(), best));
        change.bestAdded = added;
    }

    const double seconds = static_cast<double>(ms) / 1000;
    const QPointF point(x, seconds);
    if (!bucket.fastest || seconds < bucket.fastest->y())
        bucket.fastest = point;
    if (!bucket.slowest || seconds > bucket.slowest->y())
        bucket.slowest = point;
    m_recentHits.push_back(seconds);
    if (m_recentHits.size() > TrendWindow)
        m_recentHits.pop_front();
    bucket.trend = QPointF(x, *median({m_recentHits.begin(), m_recentHits.end()}));

    m_hitSeconds.add(seconds);
    const double top = roundedTop(m_hitSeconds.nearestRank() * Headroom);
    change.scaleChanged = top != m_scaleTop;
    m_scaleTop = top;
    return change;
}

} // namespace records
