#pragma once

#include <QFont>
#include <QString>

namespace platform {

// The Japanese proportional Gothic face, with the faces that cover every symbol where it is missing.
QFont gothicFont(double points);

// Name of element index of a control array: "lblKey(37)".
QString indexedName(const char *name, int index);

} // namespace platform
