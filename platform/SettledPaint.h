#pragma once

class QWidget;

namespace platform {

// On X11 with shared memory the toolkit asks the X server for a round trip before it paints into any part of the
// window's image that the server may still be reading from the last flush, and waits for the answer: at a switch
// of the flicker that wait lasts as long as the server takes to be scheduled. Asked here, at a quiet moment after
// a switch, it is not asked at the next one. Nothing is painted; elsewhere this does nothing.
void settlePaint(QWidget *window);

} // namespace platform
