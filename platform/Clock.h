#pragma once

#include <QDateTime>

namespace platform {

class Clock
{
public:
    virtual ~Clock() = default;
    // Local time of day in seconds since midnight, at the clock's full resolution.
    virtual double secondsSinceMidnight() const = 0;
    // Seconds from a fixed but arbitrary origin on a clock that never steps with the wall clock:
    // what elapsed game time is measured with.
    virtual double steadySeconds() const = 0;
    // The local date and time with its offset from UTC: when a game was played, for the player's records.
    virtual QDateTime localDateTime() const = 0;
};

class SystemClock final : public Clock
{
public:
    double secondsSinceMidnight() const override;
    double steadySeconds() const override;
    QDateTime localDateTime() const override;
};

// The clock every part of the game reads; tests install their own.
Clock &clock();
void setClock(Clock *replacement); // nullptr restores the system clock

} // namespace platform
