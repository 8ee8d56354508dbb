#include "core/InterfaceLanguage.h"

#include "platform/Files.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString Key = QStringLiteral("language");
} // namespace

QString LoadInterfaceLanguage(const QString &path)
{
    const QString automatic = QString::fromLatin1(AutomaticLanguage);
    if (!platform::fileExists(path))
        return automatic;
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return automatic;
    return settings.value(Key, automatic).toString();
}

bool SaveInterfaceLanguage(const QString &path, const QString &language)
{
    if (language == QLatin1String(AutomaticLanguage) && !QFileInfo::exists(path))
        return true;
    if (!platform::makeDirectoryFor(path))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(Key, language);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
