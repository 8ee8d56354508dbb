#include "platform/CaptionFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <map>

namespace platform {

namespace {

const char *const DesignProperty = "ivok2DesignGeometry";
const char *const CaptionsProperty = "ivok2OtherCaptions";

int widestAdvance(const QWidget *control, QStringList texts)
{
    texts += control->property(CaptionsProperty).toStringList();
    int widest = 0;
    for (const QString &text : texts) {
        for (const QString &line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, control->fontMetrics().horizontalAdvance(line));
    }
    return widest;
}

QRect designGeometry(QWidget *control)
{
    const QVariant kept = control->property(DesignProperty);
    if (kept.isValid())
        return kept.toRect();
    control->setProperty(DesignProperty, control->geometry());
    return control->geometry();
}

} // namespace

void setOtherCaptions(QWidget *control, const QStringList &captions)
{
    control->setProperty(CaptionsProperty, captions);
}

int captionShortfall(const QWidget *control)
{
    QStyle *style = control->style();
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        // Rich text and pictures are not captions.
        if (label->textFormat() == Qt::RichText)
            return 0;
        const int room = label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
        return std::max(0, widestAdvance(control, {label->text()}) - room);
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool check = qobject_cast<const QCheckBox *>(control) != nullptr;
        const QRect contents =
            style->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
        return std::max(0, widestAdvance(control, {button->text()}) - contents.width());
    }
    if (const auto *box = qobject_cast<const QGroupBox *>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        return std::max(0, widestAdvance(control, {box->title()}) - (box->width() - title.left()));
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control); list && !list->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        // The field draws its text a few pixels in from its edge, as the list's own size hint allows for.
        const int padding = list->fontMetrics().horizontalAdvance(QLatin1Char('x'));
        return std::max(0, widestAdvance(control, items) + padding - field.width());
    }
    return 0;
}

int refitCaptions(const QList<QWidget *> &controls)
{
    std::map<QWidget *, QRect> design;
    std::map<QWidget *, int> grow;
    for (QWidget *control : controls) {
        design[control] = designGeometry(control);
        control->setGeometry(design[control]);
    }
    for (QWidget *control : controls) {
        int extra = control->isHidden() ? 0 : captionShortfall(control);
        if (qobject_cast<QGroupBox *>(control))
            extra = std::max(extra, refitCaptions(control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)));
        grow[control] = extra;
    }
    QList<QWidget *> byLeft = controls;
    std::stable_sort(byLeft.begin(), byLeft.end(),
                     [&](QWidget *a, QWidget *b) { return design[a].left() < design[b].left(); });
    std::map<QWidget *, int> shift;
    // Controls that start at one left edge form a column and move together, so the dialog stays in columns.
    std::map<int, int> columnShift;
    for (bool changed = true; changed;) {
        changed = false;
        for (QWidget *control : byLeft) {
            const QRect place = design[control];
            int moved = columnShift[place.left()];
            // Whatever ends left of this control on a row it shares pushes it by what it moved and grew.
            for (QWidget *before : byLeft) {
                const QRect other = design[before];
                const bool left = other.left() + other.width() <= place.left();
                const bool sharesRow =
                    other.top() < place.top() + place.height() && place.top() < other.top() + other.height();
                if (left && sharesRow)
                    moved = std::max(moved, shift[before] + grow[before]);
            }
            changed = changed || moved != shift[control];
            shift[control] = moved;
            columnShift[place.left()] = moved;
        }
    }
    int designRight = 0;
    int fittedRight = 0;
    for (QWidget *control : byLeft) {
        const QRect place = design[control];
        const int moved = shift[control];
        if (moved != 0 || grow[control] != 0)
            control->setGeometry(place.adjusted(moved, 0, moved + grow[control], 0));
        designRight = std::max(designRight, place.left() + place.width());
        fittedRight = std::max(fittedRight, place.left() + place.width() + moved + grow[control]);
    }
    return fittedRight - designRight;
}

} // namespace platform
