#pragma once

#include <QTimer>

class QSocketNotifier;

namespace platform {

// The picture timer of the flicker: a QTimer whose timeout means "switch now", armed for an absolute time on
// the steady clock. QTimer wakes on whole milliseconds only, up to half of one early; on Linux a timerfd on
// CLOCK_MONOTONIC wakes the event loop at the time itself, to within the kernel's slack, and delivers the
// timer's own event, so that timeout, interval() and isActive() behave as for any QTimer. The QTimer's own
// event is let through only once the time has come; elsewhere it alone fires, rounded to the millisecond.
class PictureTimer final : public QTimer
{
    Q_OBJECT

public:
    explicit PictureTimer(QObject *parent = nullptr);
    ~PictureTimer() override;

    // Fires once at the given time of platform::clock().steadySeconds(), never before it (with the timerfd);
    // interval() is the time to it in whole milliseconds. Unless armed again, fires every interval() after.
    void armAt(double steadySeconds);
    // Stops the timer and the wake-up behind it, so that a stopped flicker wakes nothing.
    void disarm();
    // Whether the sub-millisecond wake-up is in use (a timerfd could be made).
    bool precise() const { return m_fd >= 0; }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void woke();

    int m_fd = -1;
    double m_wakeAt = 0; // on CLOCK_MONOTONIC
    bool m_waking = false;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
