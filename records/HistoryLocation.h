#pragma once

#include <QString>
#include <QStringList>

namespace records {

// Where the main window keeps the history of this process: the player's file (defaultHistoryPath()) unless a
// program that embeds the game chose another place before the window was made, such as SQLite's ":memory:"
// for a history that never reaches the disk. Neither the player nor the environment can choose it.
QString historyPath();
void setHistoryPath(const QString &path);

// Where games wait for the history when its own folder cannot take them, in order: ivok2 in the player's
// state directory ($XDG_STATE_HOME, else ~/.local/state), then the folder of the settings file.
QStringList spareFolders();

} // namespace records
