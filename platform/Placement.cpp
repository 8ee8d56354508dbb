#include "platform/Placement.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOption>
#include <QWidget>

namespace platform {

void placeInTwips(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

namespace {

QList<QWidget *> controlsIn(QWidget *parent)
{
    QList<QWidget *> controls = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls.removeIf([](const QWidget *control) { return control->isWindow(); });
    return controls;
}

// The pixels a control's caption lacks in the width its style leaves for it; none where it fits.
int missingWidth(QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    QStyle *style = control->style();
    int room = 0;
    QString caption;
    if (auto *label = qobject_cast<QLabel *>(control)) {
        if (label->wordWrap())
            return 0;
        caption = label->text();
        room = label->contentsRect().width() - 2 * label->margin() - qMax(label->indent(), 0);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(control);
        caption = option.text = button->text();
        const QStyle::SubElement contents = qobject_cast<QCheckBox *>(control)      ? QStyle::SE_CheckBoxContents
                                            : qobject_cast<QRadioButton *>(control) ? QStyle::SE_RadioButtonContents
                                                                                    : QStyle::SE_PushButtonContents;
        room = style->subElementRect(contents, &option, control).width();
    } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(control);
        caption = option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        room = control->width() - style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, control).left();
    }
    return caption.isEmpty() ? 0 : qMax(0, metrics.horizontalAdvance(caption) - room);
}

// Widens the container at x (its own coordinates) by width pixels: what lies right of x moves over, what spans
// x grows, and so on up to the window, which grows too.
void openSeam(QWidget *container, int x, int width)
{
    for (QWidget *control : controlsIn(container)) {
        QRect place = control->geometry();
        if (place.left() > x)
            place.translate(width, 0);
        else if (place.right() > x)
            place.setWidth(place.width() + width);
        else
            continue;
        control->setGeometry(place);
    }
    if (!container->isWindow()) {
        openSeam(container->parentWidget(), container->x() + x, width);
    } else if (container->minimumWidth() == container->maximumWidth()) {
        container->setFixedWidth(container->width() + width);
    } else {
        container->resize(container->width() + width, container->height());
    }
}

// The rightmost pixel a control may grow to without touching another: the nearest one to its right on its row,
// or else the container's edge less the narrowest margin its controls keep there.
int freeRightEdge(const QWidget *control)
{
    const QRect place = control->geometry();
    const int width = control->parentWidget()->width();
    const QList<QWidget *> siblings = controlsIn(control->parentWidget());
    int margin = width;
    for (const QWidget *sibling : siblings)
        if (!sibling->isHidden())
            margin = qMin(margin, width - 1 - sibling->geometry().right());
    int edge = width - 1 - qMax(margin, 0);
    for (const QWidget *sibling : siblings) {
        const QRect other = sibling->geometry();
        if (!sibling->isHidden() && other.left() > place.right() && other.top() <= place.bottom()
            && place.top() <= other.bottom())
            edge = qMin(edge, other.left() - 1);
    }
    return qMax(edge, place.right());
}

void fitCaptionsIn(QWidget *container)
{
    for (QWidget *control : controlsIn(container)) {
        if (control->isHidden())
            continue;
        fitCaptionsIn(control);
        const int missing = missingWidth(control);
        if (missing == 0)
            continue;
        const int right = control->geometry().right();
        const int seam = missing - (freeRightEdge(control) - right);
        if (seam > 0)
            openSeam(container, right, seam);
        control->resize(control->width() + missing, control->height());
    }
}

} // namespace

void fitCaptions(QWidget *window)
{
    fitCaptionsIn(window);
}

} // namespace platform
