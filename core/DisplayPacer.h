#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// The screens of one game as they were shown: how many ended, how many did not last their number of
// refreshes, by how much the worst missed, and how many refreshes the display showed past a screen's end.
// screensOff and worstErrorMs are -1 where what the display showed is not known (a timer switched the field).
struct ScreenTally
{
    int screens = 0;
    int screensOff = 0;
    double worstErrorMs = 0;
    int droppedRefreshes = 0;

    // A screen ended, this many refreshes longer (positive) or shorter than it should have lasted.
    void add(qint64 refreshesOff, double period);
    // A screen ended whose length cannot be told: counted off, so that the record never claims it was right.
    void addUnproven();
};

// Paces the flicker by the display's refreshes. A screen of s seconds lasts N = round(s × rate) refreshes, at
// least one, and ends on the refresh whose number (the display's refresh counter) is that of the refresh that
// showed its switch plus N. Where the compositor says on which refresh each commit was shown, those numbers are
// its own; where it only sends frame callbacks, the refreshes are counted from the time elapsed at the current
// rate. Either way a callback that does not come makes no screen longer, and where the rate changes (another
// screen, another mode) the time the screen has left is turned into refreshes at the new rate.
// Times are steady-clock seconds; a commit is named by the time of the tick that made it.
class DisplayPacer
{
public:
    enum class Mechanism { Timer, Frames };
    struct Choice
    {
        Mechanism mechanism = Mechanism::Timer;
        bool refused = false; // frames were asked for where the window system does not pace by the display
    };
    // Frames where the window system paces repaints by the display (Wayland), a timer elsewhere;
    // IVOK2_PACING=frames|timer (the value given here) overrides that, frames only on Wayland: elsewhere a
    // repaint request is a plain timer and would count nothing.
    static Choice chosen(const QString &platformName, const QByteArray &forced);
    // A screen's refresh rate as used here: what the screen reports, 60 where it reports 1 Hz or less.
    static double usableRate(double reported);
    static int refreshesFor(double seconds, double rate);

    // A game starts: the first tick shows its first screen.
    void start();
    // A refresh tick at now from a screen that reports rate Hz: whether the commit made now is to switch.
    bool tick(double now, double rate);
    // The commit made at the last tick switches the field; the new screen lasts the given seconds.
    void switched(double seconds);
    // The compositor's word on the commit made at the tick at committedAt (field: a commit of the field, else
    // of the beat): shown on refresh msc at when, the display refreshing every period seconds (0: not said).
    void presented(double committedAt, bool field, qint64 msc, double when, double period);
    // That commit was never shown as it was: a later one replaced it.
    void discarded(double committedAt, bool field);
    // The window is shown again after the display stopped refreshing it: the screen goes on where it stopped.
    void resume(double now);
    // Called for each screen as it is judged: when it came up (steady seconds; its aimed refresh where its switch
    // was never reported shown), how many refreshes it lasted too long (negative: too short), and whether that
    // is known at all. For an outside check to compare its screens one by one with the game's.
    using Judged = std::function<void(double shownAt, qint64 refreshesOff, bool known)>;
    void setJudged(Judged judged) { m_judged = std::move(judged); }
    // The earliest tick time at which tick() would say to switch, as far as is known now: until then the refreshes
    // need not be watched one by one. Meaningless before the first screen is up.
    double switchDueAt() const;
    // Whether the first screen is up.
    bool started() const { return !m_firstPending; }
    // Whether the compositor's word has been heard during this game.
    bool presentedSeen() const { return m_anchored || m_everPresented; }
    const ScreenTally &tally() const { return m_tally; }

private:
    qint64 predictedMsc(double now) const;
    // Seconds the screen will have been shown once a commit made now is on the display, without the word of it.
    double shownFor(double now) const;
    void rebase(qint64 msc, double when, double period);
    void judgePrevious(bool shown, qint64 shownMsc, double period);

    bool m_firstPending = true;
    double m_lastTick = 0;
    double m_lastRate = 60;

    // The screen now showing.
    double m_seconds = 0;
    int m_refreshes = 1;
    double m_switchAt = 0;     // the tick whose commit switched to it
    double m_switchPeriod = 0; // the period then
    bool m_endKnown = false;   // m_endMsc holds the refresh it ends on (from its shown or predicted switch)
    bool m_startShown = false; // the compositor said on which refresh its switch was shown
    qint64 m_endMsc = 0;
    double m_startWhen = 0;
    bool m_unproven = false; // its switch was never reported shown: its length cannot be told

    // The screen before it, judged when the switch to the one now showing is reported shown.
    bool m_previousPending = false;
    bool m_previousProvable = false;
    qint64 m_previousEnd = 0;
    double m_previousShownAt = 0;

    // The latest commit of ours the compositor reported shown: from it the refresh of a commit made now.
    bool m_anchored = false;
    bool m_everPresented = false;
    double m_anchorAt = 0;
    qint64 m_anchorMsc = 0;
    double m_anchorWhen = 0;
    double m_anchorPeriod = 1 / 60.0;

    ScreenTally m_tally;
    Judged m_judged;
};
