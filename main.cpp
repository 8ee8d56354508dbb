#include "core/InterfaceLanguage.h"
#include "core/TrainingMode.h"
#include "main/Program.h"
#include "platform/ProgramInfo.h"
#include "platform/Translation.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ivok2"));
    QApplication::setApplicationVersion(QString::fromLatin1(platform::Version));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("ivok2"));
    platform::applyLanguage(
        platform::chosenLanguage(LoadInterfaceLanguage(TrainingFilePath()), QLocale::system().uiLanguages()));
    return runProgram();
}
