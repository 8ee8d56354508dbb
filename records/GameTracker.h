#pragma once

#include "core/DisplayPacer.h"
#include "records/GameRecord.h"

#include <optional>

struct Quiz;

namespace records {
class RecordWriter;
}

// Follows one game at a time from the main window's events and hands each game that ends to the history.
class GameTracker
{
public:
    explicit GameTracker(records::RecordWriter &writer);

    // The quiz is on the field: from here on the game counts; a start refused before this is no game.
    // startSteady is the steady-clock reading the stopwatch counts from; level is the symbol count training chose,
    // 0 in free play.
    void gameStarted(const Quiz &quiz, double startSteady, records::Mode mode, int level);
    void missed();
    // Each returns the game it ended, as handed to the history, or nothing where no game ran.
    std::optional<records::GameRecord> hit();
    std::optional<records::GameRecord> gaveUp();
    // How the game's screens came out, and how they were timed (presented, frames or timer).
    void screensShown(const ScreenTally &tally, const QString &timing);
    // The main window closes, and the program with it: a running game is kept as abandoned.
    void windowClosed();

private:
    std::optional<records::GameRecord> finish(records::Outcome outcome);

    records::RecordWriter &m_writer;
    records::GameRecord m_record;
    double m_startSteady = 0;
    bool m_running = false;
};
