#include "core/SwitchSchedule.h"

#include <algorithm>
#include <cmath>

namespace {

// A draw longer than this is the machine being held up, not the screen's own cost.
constexpr double LongestLead = 0.004;

} // namespace

void SwitchSchedule::start(double now, double seconds)
{
    m_due = now + seconds;
    m_lead = 0;
}

void SwitchSchedule::switched(double now, double seconds)
{
    // The timer rounds to whole milliseconds, so it may fire up to half of one early.
    constexpr double TimerRounding = 0.001;
    if (now < m_due - m_lead - TimerRounding || now > m_due + seconds / 2)
        m_due = now;
    m_due += seconds;
    m_lead = 0;
}

void SwitchSchedule::drawn(Screen screen, double seconds)
{
    Draws &draws = m_draws[static_cast<size_t>(screen)];
    draws.seconds[static_cast<size_t>(draws.count % Remembered)] = std::clamp(seconds, 0.0, LongestLead);
    ++draws.count;
}

double SwitchSchedule::leadFor(Screen screen) const
{
    const Draws &draws = m_draws[static_cast<size_t>(screen)];
    const int count = std::min(draws.count, Remembered);
    if (count == 0)
        return 0;
    std::array<double, Remembered> recent = draws.seconds;
    std::nth_element(recent.begin(), recent.begin() + count / 2, recent.begin() + count);
    return recent[static_cast<size_t>(count / 2)];
}

double SwitchSchedule::wakeAt(Screen next)
{
    m_lead = leadFor(next);
    return m_due - m_lead;
}

int SwitchSchedule::intervalMs(double now, Screen next)
{
    return static_cast<int>(std::max(0.0, std::nearbyint((wakeAt(next) - now) * 1000)));
}
