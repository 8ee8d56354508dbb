#include "platform/CentredText.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <QPainter>

#include <utility>

namespace {

// The first and last rows the digits ink, from their baseline, as drawn: metrics leave out how hinting rounds.
std::pair<int, int> digitRows(const QFont &font)
{
    const QString digits = QStringLiteral("0123456789");
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(digits) + 2 * metrics.height(), 3 * metrics.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int baseline = 2 * metrics.height();
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(metrics.height(), baseline, digits);
    }
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 240) { // visible ink, not a faint fringe
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
    return {top - baseline, bottom - baseline};
}

} // namespace

CentredText::CentredText(QLineEdit *box)
    : QObject(box)
    , m_box(box)
{
    box->installEventFilter(this);
    centre();
}

bool CentredText::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        centre();
    return QObject::eventFilter(watched, event);
}

void CentredText::centre()
{
    // Where the box puts the baseline: the font's line centred in its contents, rounded as QLineEdit does.
    QStyleOptionFrame frame;
    frame.initFrom(m_box);
    frame.rect = m_box->rect();
    frame.lineWidth = m_box->hasFrame() ? m_box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, m_box) : 0;
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    const QRect contents = m_box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, m_box);
    const QFontMetrics metrics = m_box->fontMetrics();
    const int baseline = contents.y() + (contents.height() - metrics.height() + 1) / 2 + metrics.ascent();

    const auto [top, bottom] = digitRows(m_box->font());
    const int above = baseline + top;
    const int below = m_box->height() - 1 - (baseline + bottom);
    // Moved by whole pixels and only by what centres the ink: a lone extra pixel stays where the box put it.
    const int shift = (below - above) / 2;
    const QMargins margins = m_box->textMargins();
    m_box->setTextMargins(margins.left(), shift, margins.right(), -shift);
}
