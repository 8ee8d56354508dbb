#pragma once

#include "platform/Twips.h"

class QWidget;

namespace platform {

// Sets a control's position and size from twips.
void placeInTwips(QWidget *widget, double left, double top, double width, double height);

} // namespace platform
