#include "platform/ClickLabel.h"

#include <QMouseEvent>
#include <QHash>
#include <QPainter>
#include <QStaticText>

ClickLabel::ClickLabel(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted here, so nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_backColor = palette().color(QPalette::Window);
    m_foreColor = palette().color(QPalette::WindowText);
    m_fontKey = font().key();
}

void ClickLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_fontKey = font().key();
        update();
    }
    QWidget::changeEvent(event);
}

void ClickLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void ClickLabel::setForeColor(const QColor &color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    if (!m_text.isEmpty())
        update();
}

void ClickLabel::setBackColor(const QColor &color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void ClickLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    if (m_text.isEmpty())
        return;
    // Laying out a symbol means a font fallback search; do it once per symbol, not on every tick.
    static QHash<QString, QStaticText> laidOut;
    const QString key = m_fontKey + QLatin1Char('\n') + m_text;
    auto found = laidOut.find(key);
    if (found == laidOut.end()) {
        QStaticText staticText(m_text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.prepare(QTransform(), font());
        found = laidOut.insert(key, staticText);
    }
    painter.setPen(m_foreColor);
    painter.drawStaticText(QPointF(0, 0), *found);
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
