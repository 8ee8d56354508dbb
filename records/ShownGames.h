#pragma once

#include "records/GameRecord.h"
#include "records/RunningRank.h"

#include <QList>
#include <QPointF>

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace records {

struct KindSums
{
    int games = 0;
    int hits = 0;
    int giveUps = 0;
    int abandoned = 0;
    RunningRank hitMs{0.5};
    std::optional<qint64> bestMs;
};

// What the chart draws of a run of neighbouring games: the fastest and the slowest hit (so no peak is lost), the
// last point of the trend and of the training level, and one give-up. x is the game's place among those shown.
struct ChartBucket
{
    std::optional<QPointF> fastest;
    std::optional<QPointF> slowest;
    std::optional<QPointF> trend;
    std::optional<QPointF> giveUp;
    std::optional<QPointF> level;
};

// What one more game changed, so that a view redraws that much and no more.
struct ShownChange
{
    int kind = 0;
    bool kindAdded = false; // the first game of its kind where the kind has a row only when it has games
    int bestRow = -1;       // the row of the per-count bests it changed, if any
    bool bestAdded = false;
    bool today = false;
    bool bucketAdded = false; // else it went into the last bucket
    bool scaleChanged = false;
};

// The statistics of the games a filter lets through, taken in one game at a time in order of start: sums per
// kind, the moving median, bests, today's games, the chart's points and its vertical scale. A game costs the
// same however long the history, so a window can take in each new game as it comes.
class ShownGames
{
public:
    static constexpr int TrendWindow = 10;

    // bucketSize neighbours share one chart bucket; games from todayMs on are today's.
    ShownGames(int bucketSize, qint64 todayMs);

    ShownChange add(const GameRecord &record);

    int count() const { return m_count; }
    const KindSums &kind(QuizKind kind) const { return m_kinds[static_cast<size_t>(kind)]; }
    // Hits over hits and give-ups; nothing before either.
    static std::optional<double> hitRate(const KindSums &sums);
    const std::map<int, qint64> &bestPerCount() const { return m_best; }
    const QList<GameRecord> &today() const { return m_today; }
    const std::vector<ChartBucket> &buckets() const { return m_buckets; }
    bool hasTraining() const { return m_training > 0; }
    // The top of the time axis in seconds: the 95th percentile of the hits × 1.2 on a round step, at least 10.
    double scaleTop() const { return m_scaleTop; }
    static double roundedTop(double seconds);
    static double stepOf(double top);

private:
    int m_bucketSize;
    qint64 m_todayMs;
    int m_count = 0;
    int m_training = 0;
    std::array<KindSums, RecordedKindCount> m_kinds{};
    std::map<int, qint64> m_best;
    QList<GameRecord> m_today;
    std::deque<double> m_recentHits;
    RunningRank m_hitSeconds{0.95};
    double m_scaleTop;
    std::vector<ChartBucket> m_buckets;
};

} // namespace records
