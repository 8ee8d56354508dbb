#pragma once

#include "platform/Twips.h"

class QWidget;

namespace platform {

// Sets a control's position and size from twips.
void placeInTwips(QWidget *widget, double left, double top, double width, double height);

// Gives every caption of the window's controls the width it needs, for texts longer than the layout in twips
// allows (a wider face, a translation). A control first takes the free room to its right; beyond that, the
// window opens a seam at its right edge: what stands to the right of it moves over, in every row so that the
// columns stay aligned, and what spans it, the frames around it and the window grow by as much. Where every
// caption fits, nothing moves.
void fitCaptions(QWidget *window);

} // namespace platform
