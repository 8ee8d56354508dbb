#include "records/HistoryLocation.h"

#include "core/mdlUser.h"
#include "records/HistoryStore.h"

#include <QDir>
#include <QFileInfo>

namespace records {

namespace {

QString &chosenPath()
{
    static QString path;
    return path;
}

} // namespace

QString historyPath()
{
    return chosenPath().isEmpty() ? defaultHistoryPath() : chosenPath();
}

void setHistoryPath(const QString &path)
{
    chosenPath() = path;
}

QStringList spareFolders()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return {state + QStringLiteral("/ivok2"), QFileInfo(SettingsFilePath()).absolutePath()};
}

} // namespace records
