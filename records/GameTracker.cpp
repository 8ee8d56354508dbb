#include "records/GameTracker.h"

#include "core/mdlUser.h"
#include "platform/Clock.h"
#include "platform/ProgramInfo.h"
#include "quiz/Quiz.h"
#include "records/RecordWriter.h"

#include <cmath>

GameTracker::GameTracker(records::RecordWriter &writer)
    : m_writer(writer)
{
}

void GameTracker::gameStarted(const Quiz &quiz, double startSteady, records::Mode mode, int level)
{
    m_startSteady = startSteady;
    const QDateTime wall = platform::clock().localDateTime();
    m_record = {};
    // Written with its offset, so that a record stays exact across time zones and daylight saving.
    m_record.started = wall.toOffsetFromUtc(wall.offsetFromUtc()).toString(Qt::ISODateWithMs);
    m_record.startedMs = wall.toMSecsSinceEpoch();
    const QuizItem &before = quiz.Quiz1[static_cast<size_t>(quiz.AnsNo)];
    const QuizItem &after = quiz.Quiz2[static_cast<size_t>(quiz.AnsNo)];
    // A move with no free neighbour leaves both pictures alike: there is no difference to find.
    m_record.kind = quiz.Quiz1 == quiz.Quiz2 ? KindNone : static_cast<QuizKind>(quiz.QuizType);
    m_record.items = quiz.itemCount();
    m_record.viewTime = UsableViewTime();
    m_record.blankTime = UsableBlankTime();
    m_record.columns = quiz.geometry.ColNum;
    m_record.rows = quiz.geometry.RowNum;
    m_record.answer1Column = before.PosX;
    m_record.answer1Row = before.PosY;
    m_record.answer2Column = after.PosX;
    m_record.answer2Row = after.PosY;
    m_record.version = QString::fromLatin1(platform::Version);
    m_record.mode = mode;
    m_record.level = level;
    m_running = true;
}

void GameTracker::missed()
{
    if (m_running)
        ++m_record.misses;
}

std::optional<records::GameRecord> GameTracker::hit()
{
    return finish(records::Outcome::Hit);
}

std::optional<records::GameRecord> GameTracker::gaveUp()
{
    return finish(records::Outcome::GiveUp);
}

void GameTracker::screensShown(const ScreenTally &tally, const QString &timing)
{
    if (!m_running)
        return;
    m_record.screens = tally.screens;
    m_record.screensOff = tally.screensOff;
    m_record.worstScreenErrorMs = tally.worstErrorMs;
    // Only the compositor's refresh counter tells what the display missed.
    m_record.droppedRefreshes = timing == QLatin1String("presented") ? tally.droppedRefreshes : 0;
    m_record.timing = timing;
}

void GameTracker::windowClosed()
{
    // The window closes with the program: the last game is not held up by another program's lock.
    m_writer.endComing();
    finish(records::Outcome::Abandoned);
}

std::optional<records::GameRecord> GameTracker::finish(records::Outcome outcome)
{
    if (!m_running)
        return std::nullopt;
    m_running = false;
    m_record.outcome = outcome;
    m_record.elapsedMs = std::llround((platform::clock().steadySeconds() - m_startSteady) * 1000);
    m_writer.submit(m_record);
    return m_record;
}
