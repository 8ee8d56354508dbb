#include "core/RefreshPacer.h"

#include <algorithm>
#include <cmath>

RefreshPacer::Mechanism RefreshPacer::chosen(const QString &platformName, const QByteArray &forced)
{
    if (forced == "frames")
        return Mechanism::Frames;
    if (forced == "timer")
        return Mechanism::Timer;
    return platformName.startsWith(QLatin1String("wayland")) ? Mechanism::Frames : Mechanism::Timer;
}

double RefreshPacer::usableRate(double reported)
{
    // Some screens report 0 or 1 Hz, or nothing a number can compare with.
    return reported > 1 ? reported : 60.0;
}

int RefreshPacer::refreshesFor(double seconds, double rate)
{
    const double refreshes = std::nearbyint(seconds * usableRate(rate));
    // The settings keep a screen within 10 s; this only keeps a damaged value from overflowing the count.
    return refreshes >= 1 ? static_cast<int>(std::min(refreshes, 1e6)) : 1;
}

void RefreshPacer::start()
{
    m_count = 0;
    m_target = 1;
    m_last = -1;
}

RefreshPacer::Tick RefreshPacer::refresh(double now, double rate)
{
    Tick tick;
    const double period = 1 / usableRate(rate);
    if (m_last >= 0 && now - m_last > 1.5 * period)
        tick.dropped = std::max(1, static_cast<int>(std::lround((now - m_last) / period)) - 1);
    m_last = now;
    tick.switchNow = ++m_count >= m_target;
    return tick;
}

void RefreshPacer::switched(double seconds, double rate)
{
    m_count = 0;
    m_target = refreshesFor(seconds, rate);
}
