#pragma once

#include "records/GameRecord.h"

#include <QList>

namespace records {

// The levels of training are symbol counts, from the fewest a quiz places up to the most, in even steps.
inline constexpr int LowestLevel = 5;
inline constexpr int HighestLevel = 100;
inline constexpr int LevelStep = 5;
// A hit within this time is a success.
inline constexpr qint64 DefaultTargetMs = 15000;

// Two successes in a row lead one level up, one failure one level down, so the level settles where the player
// succeeds about 71 % of the time. A failure is a give-up or a hit slower than the target; a game left running
// and a quiz that had no difference to find count as neither, and free games do not count at all.
struct Staircase
{
    int level = LowestLevel; // the level of the next training game
    int successes = 0;       // successes in a row at that level

    // Steps from the level each game was played at, so that games a second copy played in between, or a level
    // read before the last game was written, still lead where the games themselves say.
    Staircase after(const GameRecord &game, qint64 targetMs = DefaultTargetMs) const;

    bool operator==(const Staircase &) const = default;
};

// Where the staircase stands after the games, in the order they were played.
Staircase replay(const QList<GameRecord> &games, qint64 targetMs = DefaultTargetMs);

} // namespace records
