#include "records/Staircase.h"

#include <algorithm>

namespace records {

namespace {

// A level that no game of ours writes (a hand-edited history) becomes the nearest real one, so that no quiz is
// ever asked for a symbol count outside the levels.
int nearestLevel(int level)
{
    // Clamped before rounding: rounding an edited level near the largest number would overflow.
    const int clamped = std::clamp(level, LowestLevel, HighestLevel);
    return (clamped + LevelStep / 2) / LevelStep * LevelStep;
}

} // namespace

Staircase Staircase::after(const GameRecord &game, qint64 targetMs) const
{
    if (game.mode != Mode::Training || game.outcome == Outcome::Abandoned || game.kind == KindNone)
        return *this;
    const int played = nearestLevel(game.level);
    const bool success = game.outcome == Outcome::Hit && game.elapsedMs <= targetMs;
    if (!success)
        return {std::max(played - LevelStep, LowestLevel), 0};
    const int inRow = played == level ? successes + 1 : 1;
    if (inRow == 2)
        return {std::min(played + LevelStep, HighestLevel), 0};
    return {played, inRow};
}

Staircase replay(const QList<GameRecord> &games, qint64 targetMs)
{
    Staircase staircase;
    for (const GameRecord &game : games)
        staircase = staircase.after(game, targetMs);
    return staircase;
}

} // namespace records
