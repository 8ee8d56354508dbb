#pragma once

#include <array>

// When the next switch of the flicker is due, on the steady clock, for a timer that fires once per switch.
// Switch k is due at the start plus the durations of the screens before it, so a switch handled late does
// not make the next screen late, and lateness never adds up.
// A picture takes longer to draw than a blank; the timer fires that much before a switch is due, as the
// recent switches to the same kind of screen took, so that pictures and blanks alike show when due.
class SwitchSchedule
{
public:
    enum class Screen { Picture, Blank };

    // The first screen is up from now (steady seconds) and lasts the given seconds.
    void start(double now, double seconds);
    // The switch that was due has been handled at now; the new screen lasts the given seconds. A switch
    // handled before its time (not by the timer) or later than half of the new screen (the machine was held
    // up) starts the schedule afresh from now, so that no screen is cut short by more than half.
    void switched(double now, double seconds);
    // The screen put up at the last switch was drawn this many seconds after the switch was handled.
    void drawn(Screen screen, double seconds);
    // When the screen now showing is due to end.
    double due() const { return m_due; }
    // When (steady seconds) the timer should fire for the switch to the next screen: the due time less the lead.
    double wakeAt(Screen next);
    // Milliseconds from now until then, never negative.
    int intervalMs(double now, Screen next);

private:
    // A few recent draws of each kind; their median, so that one held-up draw moves nothing.
    static constexpr int Remembered = 5;
    struct Draws
    {
        std::array<double, Remembered> seconds{};
        int count = 0;
    };
    double leadFor(Screen screen) const;

    double m_due = 0;
    double m_lead = 0; // how early the timer was set to fire for the switch now due
    std::array<Draws, 2> m_draws{};
};
