#include "platform/FrameTicker.h"

#include "platform/Clock.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

FrameTicker::FrameTicker(QWidget *window, QWidget *pixel)
    : QObject(window)
    , m_window(window)
    , m_pixel(pixel)
{
}

FrameTicker::~FrameTicker() = default;

void FrameTicker::createBeat()
{
    m_window->winId(); // the native window, the tiny one's parent
    m_handle = m_window->windowHandle();
    m_handle->installEventFilter(this);
    m_beat = new QWindow(m_handle);
    m_beat->setObjectName(QStringLiteral("timRefreshBeat"));
    m_beat->setSurfaceType(QSurface::RasterSurface);
    m_beat->setGeometry(QRect(m_pixel->mapTo(m_window, QPoint()), QSize(1, 1)));
    m_beatStore = std::make_unique<QBackingStore>(m_beat);
    m_beatStore->resize(QSize(1, 1));
    m_beat->installEventFilter(this);
    m_beat->show();
}

void FrameTicker::start()
{
    if (!m_beat)
        createBeat();
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
    m_beat->requestUpdate();
}

void FrameTicker::commit()
{
    // Paints and flushes what is dirty in the main window now, inside this refresh, instead of at the next
    // turn of the event loop; nothing is flushed there when nothing changed.
    QEvent sync(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &sync);
    const QRect pixel(0, 0, 1, 1);
    m_beatStore->beginPaint(pixel);
    QPainter painter(m_beatStore->paintDevice());
    painter.fillRect(pixel, m_pixel->palette().color(m_pixel->backgroundRole()));
    painter.end();
    m_beatStore->endPaint();
    m_beatStore->flush(pixel);
    m_primed = true;
}

bool FrameTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_beat && watched != m_handle)
        return false;
    if (watched == m_beat && event->type() == QEvent::UpdateRequest && m_requested) {
        m_requested = false;
        if (!m_active)
            return true;
        m_tickTime = platform::clock().steadySeconds();
        m_fieldChanged = false;
        if (m_primed)
            emit refreshed();
        commit();
        if (m_active)
            request();
        return true;
    }
    if (event->type() == QEvent::Expose && m_active && m_handle->isExposed() && m_beat->isExposed()) {
        // A request made while hidden may have been dropped with the surface: ask again.
        emit resumed();
        m_requested = false;
        m_primed = false;
        request();
    }
    return false;
}
