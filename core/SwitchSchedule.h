#pragma once

// When the next switch of the flicker is due, on the steady clock, for a timer that fires once per switch.
// Switch k is due at the start plus the durations of the screens before it, so a switch handled late does
// not make the next screen late, and lateness never adds up.
class SwitchSchedule
{
public:
    // The first screen is up from now (steady seconds) and lasts the given seconds.
    void start(double now, double seconds);
    // The switch that was due has been handled at now; the new screen lasts the given seconds. A switch
    // handled before its time (not by the timer) or later than half of the new screen (the machine was held
    // up) starts the schedule afresh from now, so that no screen is cut short by more than half.
    void switched(double now, double seconds);
    // When the screen now showing is due to end.
    double due() const { return m_due; }
    // Milliseconds from now until the next switch is due, never negative.
    int intervalMs(double now) const;

private:
    double m_due = 0;
};
