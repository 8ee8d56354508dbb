#pragma once

#include "quiz/Quiz.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace records {

enum class Outcome { Hit, GiveUp, Abandoned };

// The kinds a game's record may hold: the quiz's kinds of change and KindNone.
inline constexpr int RecordedKindCount = KindNone + 1;

// Free play uses the player's symbol count; training chooses it (the game's level).
enum class Mode { Free, Training };

// One game as it is kept: a row of the history database and of the CSV export.
struct GameRecord
{
    QString started;        // local time, ISO 8601 with UTC offset
    qint64 startedMs = 0;   // the same instant in milliseconds since 1970 UTC, for ordering and periods
    Outcome outcome = Outcome::Hit;
    qint64 elapsedMs = 0;
    QuizKind kind = KindColor; // KindNone for a move that found no free cell
    int items = 0;
    double viewTime = 0;
    double blankTime = 0;
    int columns = 0;
    int rows = 0;
    int answer1Column = 0;
    int answer1Row = 0;
    int answer2Column = 0;
    int answer2Row = 0;
    int misses = 0;
    QString version;
    int droppedRefreshes = 0; // refreshes the flicker missed, where it counts refreshes
    Mode mode = Mode::Free;
    int level = 0; // the symbol count training chose; 0 in free play
    // The flicker's screens as shown: -1 and an empty timing for games kept before they were counted.
    int screens = -1;                // screens that ended while the game ran
    int screensOff = -1;             // of those, screens that did not last their number of refreshes
    double worstScreenErrorMs = -1;  // by how much the worst of them missed
    QString timing;                  // presented (the compositor's word), frames (frame callbacks) or timer
    // Tells this game from every other, also from one another copy played in the same millisecond: its start
    // in milliseconds and a random part. The history holds each key once, so a game written twice (merged
    // from the pending file by two copies, or retried after a commit that seemed to fail) is kept once.
    QString key;

    bool operator==(const GameRecord &) const = default;
};

// A new key for a game that started at startedMs.
QString newGameKey(qint64 startedMs);

// The stable names used in the database and in the CSV file.
QString outcomeName(Outcome outcome);
QString kindName(QuizKind kind);
QString modeName(Mode mode);
std::optional<Outcome> outcomeFromName(const QString &name);
std::optional<QuizKind> kindFromName(const QString &name);
std::optional<Mode> modeFromName(const QString &name);

// Which records a view or an export covers: 0 means any item count, and any start time.
struct RecordFilter
{
    int items = 0;
    qint64 sinceMs = 0;

    bool accepts(const GameRecord &record) const
    {
        return (items == 0 || record.items == items) && record.startedMs >= sinceMs;
    }
};

} // namespace records

// Moved as bytes when a list of games grows: a long history grows without copying each game.
Q_DECLARE_TYPEINFO(records::GameRecord, Q_RELOCATABLE_TYPE);
