#include "platform/Placement.h"

#include <QWidget>

namespace platform {

void placeInTwips(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

} // namespace platform
