#pragma once

#include <QList>
#include <QStringList>

class QWidget;

namespace platform {

// The texts a control may show besides its current one (a button that turns from スタート into ギブアップ, a
// status box that counts seconds): room is made for the widest of them all.
void setOtherCaptions(QWidget *control, const QStringList &captions);

// How many pixels a control's caption (label, check box, button, group box title, the widest item of a list)
// lacks to show whole in the control's present size; 0 where it fits.
int captionShortfall(const QWidget *control);

// Lays out sibling controls placed in twips so that every caption shows whole, again at every call (a window
// that lives through changes of language; a dialog made afresh each time uses platform::fitCaptions). Each control first returns to
// its design place (kept from the first call); one whose caption lacks room grows by the shortfall, and every
// control to its right on rows it shares moves right by as much, and so on along the row; a group box grows
// with what it holds. Where every caption fits, nothing moves. Returns how much further right the rightmost
// control now reaches than in the design, for the window to grow by.
int refitCaptions(const QList<QWidget *> &controls);

} // namespace platform
