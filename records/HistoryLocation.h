#pragma once

#include <QString>

namespace records {

// Where the main window keeps the history of this process: the player's file (defaultHistoryPath()) unless a
// program that embeds the game chose another place before the window was made, such as SQLite's ":memory:"
// for a history that never reaches the disk. Neither the player nor the environment can choose it.
QString historyPath();
void setHistoryPath(const QString &path);

} // namespace records
