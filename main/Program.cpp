#include "main/Program.h"

#include "main/frmMain.h"
#include "platform/EndRequests.h"
#include "platform/MessageBox.h"
#include "records/PendingGames.h"

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
    if (const QString lost = records::takeLostAtEnd(); !lost.isEmpty()) {
        // The player who closed the program is there to read it; a session that ends it may not wait for a
        // box, and gets it in its log.
        if (endRequests.caught() == 0)
            platform::messages().show(nullptr, lost);
        else
            qWarning("%s", qUtf8Printable(lost));
    }
    endRequests.endProcessAsCaught();
    return code;
}
