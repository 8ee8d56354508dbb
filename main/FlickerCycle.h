#pragma once

#include "core/DisplayPacer.h"
#include "core/SwitchSchedule.h"

#include <QObject>

#include <functional>

class FrameTicker;
class QTimer;
class QWidget;
namespace platform {
class PictureTimer;
}

// ViewMode: what the field shows now. Each switch of the flicker moves on to the next phase.
enum ViewPhase : qint16 {
    ViewPicture1 = 0,
    ViewBlankAfter1 = 1,
    ViewPicture2 = 2,
    ViewBlankAfter2 = 3,
};

// The flicker of a game and its stopwatch: picture 1, a blank, picture 2, a blank, and again, each screen for
// its time, switched on the display's refreshes where they can be counted (Wayland) and by a timer elsewhere.
// The window draws each phase it is told; the cycle decides when.
class FlickerCycle : public QObject
{
    Q_OBJECT

public:
    // Draws the field for a phase, synchronously.
    using Draw = std::function<void(ViewPhase)>;
    // How long a picture (true) or a blank lasts, read afresh at every switch.
    using Seconds = std::function<double(bool picture)>;

    // window: the top-level widget whose display paces the frames; pixel: the widget under whose top-left
    // pixel the beat window lies.
    FlickerCycle(QWidget *window, QWidget *pixel, DisplayPacer::Mechanism mechanism, Draw draw, Seconds seconds);

    DisplayPacer::Mechanism mechanism() const { return m_mechanism; }
    QTimer *pictureTimer() const;
    QTimer *watchTimer() const { return m_watch; }
    FrameTicker *refreshTicker() const { return m_ticker; }

    // The first picture goes up: at once with the timer, on the first refresh with frames.
    void start();
    void stop();
    bool isRunning() const;
    ViewPhase phase() const { return m_phase; }
    bool pictureShown() const { return m_phase == ViewPicture1 || m_phase == ViewPicture2; }
    // How the screens of the game were timed and how they came out (with the timer: not known, -1).
    ScreenTally tally() const;
    // presented (the compositor's word), frames (frame callbacks) or timer.
    QString timing() const;

    // The stopwatch counts from reset, on the steady clock; its timer ticks every second while started.
    void resetStopwatch();
    void startStopwatch();
    void stopStopwatch();
    double stopwatchOrigin() const { return m_startSteady; }
    float elapsedSeconds() const;

    // The picture timer fired.
    void timerDue();
    // A refresh came.
    void refreshed();

signals:
    // The field has just switched to the next screen: a quiet moment for other work.
    void switched();
    // A screen paced by the display has been judged (see DisplayPacer::Judged).
    void screenJudged(double shownAt, qint64 refreshesOff, bool known);

private:
    bool next();
    void rest(double now);
    double screenSeconds() const { return m_seconds(pictureShown()); }

    QWidget *m_window;
    DisplayPacer::Mechanism m_mechanism;
    Draw m_draw;
    Seconds m_seconds;
    platform::PictureTimer *m_picture;
    QTimer *m_watch;
    QTimer *m_settle = nullptr; // X11: the paint's round trip, made between switches
    FrameTicker *m_ticker;
    ViewPhase m_phase = ViewPicture1;
    SwitchSchedule m_schedule;
    DisplayPacer m_pacer;
    int m_timerScreens = 0;
    double m_startSteady = 0;
};
