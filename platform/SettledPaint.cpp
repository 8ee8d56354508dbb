#include "platform/SettledPaint.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {

void settlePaint(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible())
        return;
    QWindow *handle = window->windowHandle();
    QBackingStore *store = window->backingStore();
    // A window with alpha has the region cleared when a paint begins: it would lose what it shows.
    if (!handle || !store || handle->format().hasAlpha())
        return;
    store->beginPaint(QRegion(window->rect()));
    store->endPaint();
}

} // namespace platform
