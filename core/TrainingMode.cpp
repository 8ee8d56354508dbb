#include "core/TrainingMode.h"

#include "core/mdlUser.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

bool TrainingMode = false;

namespace {
const QString Key = QStringLiteral("training/automatic");
} // namespace

QString TrainingFilePath()
{
    return QFileInfo(SettingsFilePath()).dir().filePath(QStringLiteral("ivok2.conf"));
}

bool LoadTrainingMode(const QString &path)
{
    if (!platform::fileExists(path))
        return false;
    const QSettings settings(path, QSettings::IniFormat);
    return settings.status() == QSettings::NoError && settings.value(Key, false).toBool();
}

bool SaveTrainingMode(const QString &path, bool on)
{
    if (!on && !QFileInfo::exists(path))
        return true;
    if (!platform::makeDirectoryFor(path))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(Key, on);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
