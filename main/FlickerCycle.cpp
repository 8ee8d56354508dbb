#include "main/FlickerCycle.h"

#include "platform/Clock.h"
#include "platform/FrameTicker.h"
#include "platform/PictureTimer.h"
#include "platform/SettledPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>


FlickerCycle::FlickerCycle(QWidget *window, QWidget *pixel, DisplayPacer::Mechanism mechanism, Draw draw,
                           Seconds seconds)
    : QObject(window)
    , m_window(window)
    , m_mechanism(mechanism)
    , m_draw(std::move(draw))
    , m_seconds(std::move(seconds))
    , m_picture(new platform::PictureTimer(this))
    , m_watch(new QTimer(this))
    , m_ticker(new FrameTicker(window, pixel))
{
    setObjectName(QStringLiteral("flicker"));
    m_picture->setObjectName(QStringLiteral("timMain"));
    m_watch->setObjectName(QStringLiteral("timWatch"));
    m_watch->setTimerType(Qt::PreciseTimer);
    m_watch->setInterval(1000);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_settle = new QTimer(this);
        m_settle->setObjectName(QStringLiteral("timSettle"));
        m_settle->setSingleShot(true);
        connect(m_settle, &QTimer::timeout, this, [this] { platform::settlePaint(m_window); });
    }
    m_ticker->setParent(this);
    m_ticker->setObjectName(QStringLiteral("timRefresh"));
    connect(m_ticker, &FrameTicker::resumed, this, [this] { m_pacer.resume(platform::clock().steadySeconds()); });
    connect(m_ticker, &FrameTicker::presented, this,
            [this](double at, bool field, qint64 msc, double when, double period) {
                m_pacer.presented(at, field, msc, when, period);
            });
    m_pacer.setJudged([this](double shownAt, qint64 off, bool known) { emit screenJudged(shownAt, off, known); });
    connect(m_ticker, &FrameTicker::discarded, this, [this](double at, bool field) { m_pacer.discarded(at, field); });
}

QTimer *FlickerCycle::pictureTimer() const
{
    return m_picture;
}

void FlickerCycle::start()
{
    stop();
    m_timerScreens = 0;
    if (m_mechanism == DisplayPacer::Mechanism::Frames) {
        // Picture 1 goes up on the first refresh, so that it too lasts its whole number of refreshes.
        m_pacer.start();
        m_ticker->start();
        return;
    }
    m_phase = ViewPicture1;
    m_draw(ViewPicture1);
    m_schedule.start(platform::clock().steadySeconds(), screenSeconds());
    m_picture->armAt(m_schedule.wakeAt(SwitchSchedule::Screen::Blank));
}

void FlickerCycle::stop()
{
    m_picture->disarm();
    if (m_settle)
        m_settle->stop();
    m_ticker->stop();
}

bool FlickerCycle::isRunning() const
{
    return m_picture->isActive() || m_ticker->isActive();
}

ScreenTally FlickerCycle::tally() const
{
    if (m_mechanism == DisplayPacer::Mechanism::Frames)
        return m_pacer.tally();
    // A screen drawn on time may still be shown a refresh early or late: nothing here sees the display, so
    // how its screens came out is not known, rather than claimed right.
    ScreenTally unknown;
    unknown.screens = m_timerScreens;
    unknown.screensOff = -1;
    unknown.worstErrorMs = -1;
    return unknown;
}

QString FlickerCycle::timing() const
{
    if (m_mechanism == DisplayPacer::Mechanism::Timer)
        return QStringLiteral("timer");
    return m_pacer.presentedSeen() ? QStringLiteral("presented") : QStringLiteral("frames");
}

void FlickerCycle::resetStopwatch()
{
    m_startSteady = platform::clock().steadySeconds();
}

void FlickerCycle::startStopwatch()
{
    m_watch->start();
}

void FlickerCycle::stopStopwatch()
{
    m_watch->stop();
}

float FlickerCycle::elapsedSeconds() const
{
    // The time of day restarts at midnight and steps with clock corrections; the steady clock does neither.
    return static_cast<float>(platform::clock().steadySeconds() - m_startSteady);
}

void FlickerCycle::timerDue()
{
    const double handled = platform::clock().steadySeconds();
    if (!next())
        return;
    // Drawn and flushed now, not at a later turn of the event loop, so that its cost is known: a picture takes
    // longer than a blank, and the switch to each kind is timed that much ahead.
    QEvent draw(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &draw);
    const double drawnAt = platform::clock().steadySeconds();
    ++m_timerScreens;
    const bool picture = pictureShown();
    // Each switch is due at a fixed time from the start, so a late tick does not make the next screen late.
    m_schedule.switched(handled, screenSeconds());
    m_schedule.drawn(picture ? SwitchSchedule::Screen::Picture : SwitchSchedule::Screen::Blank, drawnAt - handled);
    const double wakeAt = m_schedule.wakeAt(picture ? SwitchSchedule::Screen::Blank : SwitchSchedule::Screen::Picture);
    m_picture->armAt(wakeAt);
    if (m_settle) {
        // A third of the way to the next switch: the server has long taken in this one's image, and the
        // next one is far.
        const double third = (wakeAt - platform::clock().steadySeconds()) / 3;
        m_settle->start(std::max(1, static_cast<int>(third * 1000)));
    }
    emit switched();
}

void FlickerCycle::refreshed()
{
    const double now = m_ticker->tickTime();
    if (!m_pacer.tick(now, m_ticker->refreshRate())) {
        rest(now);
        return;
    }
    const bool first = !m_pacer.started();
    if (first) {
        m_phase = ViewPicture1;
        m_draw(ViewPicture1);
    } else if (!next()) {
        return;
    }
    m_pacer.switched(screenSeconds());
    // The compositor is asked when this commit reaches the display.
    m_ticker->fieldChanged();
    rest(now);
    if (!first)
        emit switched();
}

// Each refresh watched costs the compositor's and the toolkit's threads a wake-up, and between switches there is
// nothing to watch for: the ticker rests until a quarter of a refresh before the earliest tick the switch can be
// due at. The commit of its wake-up then makes the refresh of that tick, unless the wake-up is three quarters
// of a refresh late.
void FlickerCycle::rest(double now)
{
    if (!m_ticker->canRest())
        return;
    const double period = 1 / DisplayPacer::usableRate(m_ticker->refreshRate());
    const double wake = m_pacer.switchDueAt() - period / 4;
    if (wake > now + 1.5 * period)
        m_ticker->restUntil(wake);
}

// Draws the next screen of the cycle and moves the phase on; false for a phase that is none of the four.
bool FlickerCycle::next()
{
    switch (m_phase) {
    case ViewPicture1:
        m_phase = ViewBlankAfter1;
        break;
    case ViewBlankAfter1:
        m_phase = ViewPicture2;
        break;
    case ViewPicture2:
        m_phase = ViewBlankAfter2;
        break;
    case ViewBlankAfter2:
        m_phase = ViewPicture1;
        break;
    default:
        return false;
    }
    m_draw(m_phase);
    return true;
}
