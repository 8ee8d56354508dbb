#include "platform/PictureTimer.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_LINUX
double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
#endif

} // namespace

PictureTimer::PictureTimer(QObject *parent)
    : QTimer(parent)
{
    setTimerType(Qt::PreciseTimer);
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PictureTimer::woke);
    }
#endif
}

PictureTimer::~PictureTimer()
{
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

void PictureTimer::armAt(double steadySeconds)
{
    const double ahead = std::max(0.0, steadySeconds - clock().steadySeconds());
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        // The game's steady clock may be a test's own: the wake-up keeps its distance from now, on the
        // kernel's monotonic clock, and is set there as an absolute time, so that it never drifts late.
        const double at = monotonicSeconds() + ahead;
        m_wakeAt = at;
        // Rounded up to the nanosecond: never before the time asked for.
        const auto nanoseconds = static_cast<long long>(std::ceil(at * 1e9));
        itimerspec due{};
        due.it_value.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
        due.it_value.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
        if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &due, nullptr) != 0)
            m_wakeAt = 0;
    }
#endif
    start(static_cast<int>(std::nearbyint(ahead * 1000)));
}

void PictureTimer::disarm()
{
    stop();
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        const itimerspec none{};
        timerfd_settime(m_fd, 0, &none, nullptr);
    }
#endif
}

void PictureTimer::woke()
{
#ifdef Q_OS_LINUX
    quint64 expirations = 0;
    // Nothing to read: the timer was set afresh since the wake-up was queued.
    if (::read(m_fd, &expirations, sizeof expirations) != static_cast<ssize_t>(sizeof expirations))
        return;
    // Stopped as a plain QTimer: the wake-up is stale.
    if (!isActive())
        return;
    // Like a QTimer that fired: it runs on at its interval unless armed again.
    start();
    QTimerEvent due(timerId());
    m_waking = true;
    QCoreApplication::sendEvent(this, &due);
    m_waking = false;
#endif
}

void PictureTimer::timerEvent(QTimerEvent *event)
{
#ifdef Q_OS_LINUX
    // Rounded to the millisecond, the QTimer's own event may come before its time; the timerfd's follows.
    if (m_fd >= 0 && !m_waking && event->timerId() == timerId() && monotonicSeconds() < m_wakeAt)
        return;
#endif
    QTimer::timerEvent(event);
}

} // namespace platform
