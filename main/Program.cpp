#include "main/Program.h"

#include "main/frmMain.h"
#include "platform/EndRequests.h"

#include <QApplication>

int runProgram()
{
    platform::EndRequests endRequests;
    // Closing every window also ends a modal dialog's own loop, which would hold the program open.
    QObject::connect(&endRequests, &platform::EndRequests::received, qApp, &QApplication::closeAllWindows);
    int code = 0;
    {
        frmMain window;
        window.show();
        code = QApplication::exec();
    } // the window takes the history's writer with it, which writes what still waits
    endRequests.endProcessAsCaught();
    return code;
}
