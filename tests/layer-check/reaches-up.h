// Never built: the layer check must refuse the first two includes and accept the third.
#include "main/frmMain.h"
#include <QtWidgets/QWidget>
#include <QString>
