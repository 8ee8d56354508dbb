#pragma once

#include "records/GameRecord.h"

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
    void hit();
    void gaveUp();
    // The display missed this many refreshes while the game's flicker ran.
    void refreshesDropped(int count);
    // The main window closes, and the program with it: a running game is kept as abandoned.
    void windowClosed();

private:
    void finish(records::Outcome outcome);

    records::RecordWriter &m_writer;
    records::GameRecord m_record;
    double m_startSteady = 0;
    bool m_running = false;
};
