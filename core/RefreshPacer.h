#pragma once

#include <QByteArray>
#include <QString>

// Counts the display's refreshes for the flicker where the platform reports them: a screen of s seconds
// lasts round(s × rate) refreshes, at least one, and a refresh that comes more than 1.5 periods after the
// one before means the display missed some.
class RefreshPacer
{
public:
    enum class Mechanism { Timer, Frames };

    // Frames where the window system paces repaints by the display (Wayland), a timer elsewhere;
    // IVOK2_PACING=frames|timer (the value given here) overrides that.
    static Mechanism chosen(const QString &platformName, const QByteArray &forced);
    // A screen's refresh rate as used here: what the screen reports, 60 where it reports 1 Hz or less.
    static double usableRate(double reported);
    static int refreshesFor(double seconds, double rate);

    struct Tick
    {
        bool switchNow = false; // this refresh shows the next screen
        int dropped = 0;        // refreshes missed since the one before
    };

    // A game starts: the first refresh that comes shows its first screen.
    void start();
    // A refresh has come at now (steady seconds) from a display of the given rate.
    Tick refresh(double now, double rate);
    // The field has switched on this refresh; the new screen lasts the given seconds.
    void switched(double seconds, double rate);
    // After a pause (the window hidden) the gap is no loss: the next refresh is counted as the first again.
    void resume() { m_last = -1; }

private:
    int m_count = 0;
    int m_target = 1;
    double m_last = -1;
};
