#include "platform/LineControl.h"

#include "platform/Twips.h"

#include <QPainter>

#include <algorithm>

LineControl::LineControl(double x1, double y1, double x2, double y2, QWidget *parent)
    : QWidget(parent)
    , m_x1(x1)
    , m_y1(y1)
    , m_x2(x2)
    , m_y2(y2)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    updateGeometryFromPoints();
}

void LineControl::setPoints(double x1, double y1, double x2, double y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    updateGeometryFromPoints();
    update();
}

void LineControl::setLineColor(const QColor &color)
{
    m_color = color;
    update();
}

void LineControl::setLineWidth(int pixels)
{
    m_width = std::max(1, pixels);
    updateGeometryFromPoints();
    update();
}

void LineControl::updateGeometryFromPoints()
{
    const int left = platform::toPixels(std::min(m_x1, m_x2));
    const int top = platform::toPixels(std::min(m_y1, m_y2));
    const int right = platform::toPixels(std::max(m_x1, m_x2));
    const int bottom = platform::toPixels(std::max(m_y1, m_y2));
    setGeometry(left, top, right - left + m_width, bottom - top + m_width);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint origin = geometry().topLeft();
    const QPoint from(platform::toPixels(m_x1) - origin.x(), platform::toPixels(m_y1) - origin.y());
    const QPoint to(platform::toPixels(m_x2) - origin.x(), platform::toPixels(m_y2) - origin.y());
    // Square caps on a thin rectangle keep the line inside the widget's bounds.
    painter.fillRect(QRect(from, to).normalized().adjusted(0, 0, m_width - 1, m_width - 1), m_color);
}
