#include "core/SettingsLocation.h"

#include <QDir>

namespace {

// Installed there, the program belongs to the system even where the one running it may write (root): its
// directory is no place for one player's settings.
bool underSystemPrefix(const QString &programDirectory)
{
    const QString directory = QDir::cleanPath(programDirectory);
    for (const QString &prefix : {QStringLiteral("/usr"), QStringLiteral("/opt")}) {
        if (directory == prefix || directory.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

} // namespace

SettingsLocation chooseSettingsLocation(const QString &programDirectory, bool programDirectoryWritable,
                                        const QString &userConfigDirectory,
                                        const std::function<bool(const QString &)> &fileExists)
{
    const QString fileName = QStringLiteral("ivok2.ini");
    const QString beside = programDirectory + QDir::separator() + fileName;
    if (programDirectoryWritable && !underSystemPrefix(programDirectory))
        return {beside, beside};
    const QString own = userConfigDirectory + QDir::separator() + QStringLiteral("ivok2") + QDir::separator()
                        + fileName;
    const bool startFromBeside = !fileExists(own) && fileExists(beside);
    return {startFromBeside ? beside : own, own};
}
