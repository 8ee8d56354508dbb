#include "core/SettingsLocation.h"

#include <QDir>

SettingsLocation chooseSettingsLocation(const QString &programDirectory, bool programDirectoryWritable,
                                        const QString &userConfigDirectory,
                                        const std::function<bool(const QString &)> &fileExists)
{
    const QString fileName = QStringLiteral("ivok2.ini");
    const QString beside = programDirectory + QDir::separator() + fileName;
    if (programDirectoryWritable)
        return {beside, beside};
    const QString own = userConfigDirectory + QDir::separator() + QStringLiteral("ivok2") + QDir::separator()
                        + fileName;
    const bool startFromBeside = !fileExists(own) && fileExists(beside);
    return {startFromBeside ? beside : own, own};
}
