#include "platform/ClickLabel.h"

#include <QMouseEvent>
#include <QHash>
#include <QPaintEngine>
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

// A symbol as a cell of one size draws it: laid out once, and placed where all of its ink shows.
struct ClickLabel::Placed
{
    QStaticText text;
    QFont font;
    bool smaller; // drawn in a smaller font than the label's
    QPointF position;
};

namespace {

struct PlacementKey
{
    QString font;
    QString text;
    QSize cell; // in device pixels, which decide the glyphs' pixels
    bool operator==(const PlacementKey &) const = default;
};

size_t qHash(const PlacementKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.text, key.cell.width(), key.cell.height());
}

QStaticText laidOut(const QString &text, const QFont &font)
{
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return laid;
}

// The pixels the text inks when drawn at the origin, in device pixels; drawn with room all around, so that
// none is lost. Glyphs differ in their bearings from face to face, so only the pixels tell.
QRect inkBounds(const QStaticText &text, const QFont &font, QSize cell, qreal pixelRatio)
{
    QImage image(cell * 3, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawStaticText(QPointF(cell.width(), cell.height()) / pixelRatio, text);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(-cell.width(), -cell.height());
}

// How far ink spanning [first, last], no wider than the room, must move to lie within [0, room): not at all
// where it already does.
int shiftInto(int first, int last, int room)
{
    if (first < 0)
        return -first;
    if (last >= room)
        return room - 1 - last;
    return 0;
}

} // namespace

// Faces place their symbols differently in the line (some below the cell's bottom), so each symbol is moved
// just far enough for its ink to show whole, in whole device pixels so that its pixels stay sharp, and made
// smaller only where its ink is larger than the cell. A symbol that already shows whole stays as it is.
ClickLabel::Placed ClickLabel::place(const QString &text, QFont font, QSize cell, qreal pixelRatio)
{
    QStaticText laid = laidOut(text, font);
    QRect ink = inkBounds(laid, font, cell, pixelRatio);
    const auto fits = [&] { return ink.width() <= cell.width() && ink.height() <= cell.height(); };
    const bool fitsWhole = fits();
    if (!fitsWhole) {
        // In proportion first, then in small steps, as hinting rounds the smaller glyph its own way.
        constexpr qreal Step = 0.125;
        qreal points = font.pointSizeF() * qMin(qreal(cell.width()) / ink.width(), qreal(cell.height()) / ink.height());
        for (; points > Step; points -= Step) {
            font.setPointSizeF(points);
            laid = laidOut(text, font);
            ink = inkBounds(laid, font, cell, pixelRatio);
            if (fits())
                break;
        }
    }
    const QPoint shift(shiftInto(ink.left(), ink.right(), cell.width()), shiftInto(ink.top(), ink.bottom(), cell.height()));
    return {laid, font, !fitsWhole, ink.isNull() ? QPointF() : QPointF(shift) / pixelRatio};
}

const ClickLabel::Placed &ClickLabel::placement(qreal pixelRatio) const
{
    // Laying out a symbol means a font fallback search, and placing it a drawing of its own; do both once per
    // symbol, font and size, not on every tick.
    static QHash<PlacementKey, Placed> cache;
    // Whole device pixels only: a cell that covers part of one at its edge leaves that one to its neighbour.
    const QSize cell(int(width() * pixelRatio), int(height() * pixelRatio));
    const PlacementKey key{m_fontKey, m_text, cell};
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, place(m_text, font(), cell, pixelRatio));
    return *found;
}

QFont ClickLabel::drawnFont(qreal pixelRatio) const
{
    return m_text.isEmpty() ? font() : placement(pixelRatio).font;
}

void ClickLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    if (m_text.isEmpty())
        return;
    // The device painted on, which is not the label itself where the label is drawn into an image.
    const Placed &shown = placement(painter.paintEngine()->paintDevice()->devicePixelRatio());
    if (shown.smaller)
        painter.setFont(shown.font);
    painter.setPen(m_foreColor);
    painter.drawStaticText(shown.position, shown.text);
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
