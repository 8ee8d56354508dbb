#pragma once

#include <QString>

#include <functional>

// Where start-up reads the settings file and where every save writes it.
struct SettingsLocation
{
    QString load;
    QString save;
};

// A program directory the player may write keeps its own file, so a portable copy or a build tree behaves as
// it always did. Otherwise (a system-wide install: a directory the player may not write, or one under /usr or
// /opt, whoever runs it) saves go to the player's own file, and until that exists a file an administrator put
// beside the program gives the starting values.
SettingsLocation chooseSettingsLocation(const QString &programDirectory, bool programDirectoryWritable,
                                        const QString &userConfigDirectory,
                                        const std::function<bool(const QString &)> &fileExists);
