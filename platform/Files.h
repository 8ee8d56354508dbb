#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace platform {

// The directory that holds the executable; tests point it elsewhere.
QString programDirectory();
void setProgramDirectory(const QString &directory); // empty restores the real one

// Whether this user may create files in directory.
bool directoryWritable(const QString &directory);

// The user's configuration directory: $XDG_CONFIG_HOME, else ~/.config.
QString userConfigDirectory();

// Creates the directory that is to hold path, with any missing parents, readable by the user alone.
bool makeDirectoryFor(const QString &path);

// Ordinary files only: a directory of that name does not count.
bool fileExists(const QString &path);

// At most maxBytes from offset 0; nothing when the file cannot be opened or read.
std::optional<QByteArray> readBlock(const QString &path, qsizetype maxBytes);

// Writes block at offset 0 and keeps whatever the file holds beyond it.
// The whole file is replaced atomically where the directory allows it, else rewritten in place.
bool writeBlock(const QString &path, const QByteArray &block);

// Runs once writeBlock has written the whole new content, just before it commits the save (when
// the temporary file takes the old one's place); tests interrupt a save there. Empty removes it.
void setBeforeReplace(std::function<void()> hook);

} // namespace platform
