#include "platform/FrameTicker.h"

#include "core/DisplayPacer.h"
#include "platform/Clock.h"
#include "platform/PictureTimer.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

FrameTicker::FrameTicker(QWidget *window, QWidget *pixel, const PresentationFeedback::Factory &feedback)
    : QObject(window)
    , m_window(window)
    , m_pixel(pixel)
    , m_feedback(feedback(
          [this](double committedAt, bool field, qint64 msc, double when, double period) {
              if (m_active && committedAt >= m_startedAt)
                  emit presented(committedAt, field, msc, when, period);
          },
          [this](double committedAt, bool field) {
              if (m_active && committedAt >= m_startedAt)
                  emit discarded(committedAt, field);
          }))
    , m_wake(new platform::PictureTimer(this))
{
    m_wake->setObjectName(QStringLiteral("timRefreshWake"));
    m_wake->setSingleShot(true);
    connect(m_wake, &QTimer::timeout, this, &FrameTicker::wake);
}

FrameTicker::~FrameTicker() = default;

void FrameTicker::createBeat()
{
    m_window->winId(); // the native window, the tiny one's parent
    m_handle = m_window->windowHandle();
    m_handle->installEventFilter(this);
    m_window->installEventFilter(this);
    m_beat = new QWindow(m_handle);
    m_beat->setObjectName(QStringLiteral("timRefreshBeat"));
    m_beat->setSurfaceType(QSurface::RasterSurface);
    m_beat->setGeometry(QRect(m_pixel->mapTo(m_window, QPoint()), QSize(1, 1)));
    m_beatStore = std::make_unique<QBackingStore>(m_beat);
    m_beatStore->resize(QSize(1, 1));
    m_beat->installEventFilter(this);
    m_beat->show();
    // Another screen or another rate: the refreshes are watched again at once, so that the pacing hears of it.
    connect(m_handle, &QWindow::screenChanged, this, &FrameTicker::watchScreen);
    watchScreen();
}

void FrameTicker::watchScreen()
{
    disconnect(m_rateWatch);
    if (QScreen *screen = m_handle->screen())
        m_rateWatch = connect(screen, &QScreen::refreshRateChanged, this, [this] { wakeBy(0); });
    wakeBy(0);
}

void FrameTicker::start()
{
    if (!m_beat)
        createBeat();
    m_active = true;
    m_startedAt = platform::clock().steadySeconds();
    m_primed = false;
    request();
}

void FrameTicker::stop()
{
    m_active = false;
    m_resting = false;
    m_wake->disarm();
    if (m_held) {
        m_held = false;
        QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    }
}

double FrameTicker::refreshRate() const
{
    const QScreen *screen = m_handle ? m_handle->screen() : nullptr;
    return screen ? screen->refreshRate() : 0;
}

bool FrameTicker::canRest() const
{
    // Only a display's own counter tells how many refreshes passed while nothing was committed: a display
    // without one (a headless compositor) may not even repaint then, and time is no count of refreshes.
    return m_feedback && m_feedback->counterKnown();
}

void FrameTicker::restUntil(double steadySeconds)
{
    if (!m_active)
        return;
    m_resting = true;
    m_wake->armAt(steadySeconds);
}

void FrameTicker::wake()
{
    if (!m_active || !m_resting)
        return;
    m_resting = false;
    m_wake->disarm();
    // The update comes at once, on no refresh: it only commits.
    m_primed = false;
    request();
}

void FrameTicker::wakeBy(double steadySeconds)
{
    if (!m_active || !m_resting)
        return;
    const double now = platform::clock().steadySeconds();
    if (steadySeconds <= now)
        wake();
    else if (steadySeconds < now + m_wake->remainingTime() / 1000.0)
        m_wake->armAt(steadySeconds);
}

void FrameTicker::request()
{
    if (m_requested)
        return;
    m_requested = true;
    m_beat->requestUpdate();
}

void FrameTicker::commit()
{
    // Paints and flushes what is dirty in the main window now, inside this refresh, instead of at the next
    // turn of the event loop; nothing is flushed there when nothing changed.
    // Resting from now on, the beat is not committed: nothing is to come of it.
    const bool beat = !m_resting;
    if (m_feedback) {
        // Asked before the commits it is about; a beat committed on no refresh says nothing of the refreshes.
        if (m_fieldChanged)
            m_feedback->request(m_handle, m_tickTime, true);
        if (beat && m_primed && !m_feedback->counterKnown())
            m_feedback->request(m_beat, m_tickTime, false);
    }
    QEvent sync(QEvent::UpdateRequest);
    m_held = false;
    m_syncing = true;
    QCoreApplication::sendEvent(m_window, &sync);
    m_syncing = false;
    // What the receiver changed posted a request to paint it, which is done now: left, it would wake a resting
    // ticker for nothing. (Painting clears the window's note that a request is on its way.)
    QCoreApplication::removePostedEvents(m_window, QEvent::UpdateRequest);
    m_primed = true;
    if (!beat)
        return;
    const QRect pixel(0, 0, 1, 1);
    m_beatStore->beginPaint(pixel);
    QPainter painter(m_beatStore->paintDevice());
    painter.fillRect(pixel, m_pixel->palette().color(m_pixel->backgroundRole()));
    painter.end();
    m_beatStore->endPaint();
    m_beatStore->flush(pixel);
}

bool FrameTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() != QEvent::UpdateRequest || !m_active || m_syncing)
            return false;
        // What else changed in the window (the stopwatch) is painted with the next tick's commit: a commit
        // of the window's own between ticks would replace a switch's before it is shown, and the compositor
        // could then not say on which refresh the switch was. Resting, a tick comes once the last commit is
        // surely on the display.
        m_held = true;
        wakeBy(m_tickTime + 1.5 / DisplayPacer::usableRate(refreshRate()));
        return true;
    }
    if (watched != m_beat && watched != m_handle)
        return false;
    if (watched == m_beat && event->type() == QEvent::UpdateRequest && m_requested) {
        m_requested = false;
        if (!m_active)
            return true;
        m_tickTime = platform::clock().steadySeconds();
        m_fieldChanged = false;
        // The compositor's word on the commits before, which the pacer uses to decide this one.
        if (m_feedback)
            m_feedback->dispatch();
        if (m_primed)
            emit refreshed();
        commit();
        if (m_active && !m_resting)
            request();
        return true;
    }
    if (event->type() == QEvent::Expose && m_active && m_handle->isExposed() && m_beat->isExposed()) {
        // A request made while hidden may have been dropped with the surface: ask again.
        emit resumed();
        m_resting = false;
        m_wake->disarm();
        m_requested = false;
        m_primed = false;
        request();
    }
    return false;
}
