#include "platform/FrameTicker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

FrameTicker::FrameTicker(QWidget *window, QWidget *pixel)
    : QObject(window)
    , m_window(window)
    , m_pixel(pixel)
{
}

void FrameTicker::start()
{
    if (!m_handle) {
        m_window->winId(); // the native window, whose refreshes are counted
        m_handle = m_window->windowHandle();
        m_handle->installEventFilter(this);
    }
    m_active = true;
    m_primed = false;
    request();
}

void FrameTicker::stop()
{
    m_active = false;
}

double FrameTicker::refreshRate() const
{
    const QScreen *screen = m_handle ? m_handle->screen() : nullptr;
    return screen ? screen->refreshRate() : 0;
}

void FrameTicker::request()
{
    if (m_requested)
        return;
    m_requested = true;
    m_handle->requestUpdate();
}

void FrameTicker::commit()
{
    m_pixel->update(0, 0, 1, 1);
    // Paints and flushes what is dirty now, inside this refresh, instead of at the next turn of the event loop.
    QEvent sync(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &sync);
    m_primed = true;
}

bool FrameTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_handle)
        return false;
    if (event->type() == QEvent::UpdateRequest && m_requested) {
        m_requested = false;
        // Taken, not passed on: the window would repaint all of itself on every refresh.
        if (!m_active)
            return true;
        if (m_primed)
            emit refreshed();
        commit();
        if (m_active)
            request();
        return true;
    }
    if (event->type() == QEvent::Expose && m_active && m_handle->isExposed()) {
        // A request made while hidden may have been dropped with the surface: ask again.
        emit resumed();
        m_requested = false;
        m_primed = false;
        request();
    }
    return false;
}
