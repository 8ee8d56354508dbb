#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QPointF>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace records {

// The middle value, or the mean of the two middle values; nothing for an empty sample.
std::optional<double> median(std::vector<double> values);

// Entry i is the median of values i - window + 1 to i (fewer at the start).
std::vector<double> movingMedian(const std::vector<double> &values, int window);

// Hits over games; nothing before the first game.
std::optional<double> hitRate(int hits, int games);

// The fastest hit for every item count that has one, in milliseconds.
std::map<int, qint64> bestPerCount(const QList<GameRecord> &records);

struct KindSummary
{
    int games = 0;
    int hits = 0;
    int giveUps = 0;
    std::optional<double> hitRate;
    std::optional<double> medianMs; // of the hits
    std::optional<qint64> bestMs;
};

// One summary per kind of difference, indexed by Kind.
std::array<KindSummary, KindCount> kindTable(const QList<GameRecord> &records);

// At most 2 × buckets points in x order: the lowest and the highest point of each of buckets runs of
// neighbours, so that a chart drawn from them keeps every peak of the full series.
QList<QPointF> thinned(const QList<QPointF> &points, int buckets);

} // namespace records
