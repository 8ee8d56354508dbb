#pragma once

namespace platform {

class Clock
{
public:
    virtual ~Clock() = default;
    // Local time of day in seconds since midnight, at the clock's full resolution.
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock
{
public:
    double secondsSinceMidnight() const override;
};

// The clock every part of the game reads; tests install their own.
Clock &clock();
void setClock(Clock *replacement); // nullptr restores the system clock

// The game's clock reading: single-precision seconds since midnight.
float timeOfDay();

} // namespace platform
