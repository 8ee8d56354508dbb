#include "core/SwitchSchedule.h"

#include <algorithm>
#include <cmath>

void SwitchSchedule::start(double now, double seconds)
{
    m_due = now + seconds;
}

void SwitchSchedule::switched(double now, double seconds)
{
    // The timer rounds to whole milliseconds, so it may fire up to half of one early.
    constexpr double TimerRounding = 0.001;
    if (now < m_due - TimerRounding || now > m_due + seconds / 2)
        m_due = now;
    m_due += seconds;
}

int SwitchSchedule::intervalMs(double now) const
{
    return static_cast<int>(std::max(0.0, std::nearbyint((m_due - now) * 1000)));
}
