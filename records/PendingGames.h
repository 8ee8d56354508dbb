#pragma once

#include "records/GameRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace records {

// Games the history could not take before the program ended wait in a small file (one game a line) until
// the next start merges them in: history.pending beside the history, or, where that folder cannot be
// written, a file named after the history in one of the spare folders. Every copy of the game appends to and
// merges such a file only while it holds the file's lock (the same name with .lock), so that no game is
// merged twice or appended to a file that another copy is about to remove.
QString pendingPath(const QString &historyPath);
// Every place a pending file of this history may be, in the order they are tried.
QStringList pendingPaths(const QString &historyPath, const QStringList &spareFolders);
// Where lines that are no usable game go, kept for the player: appended to, never overwritten.
QString rejectedPath(const QString &pendingPath);
QString lockPath(const QString &pendingPath);

// Adds the games at the end of the file, creating its folder where missing; false when the file cannot be
// written.
bool appendPending(const QString &path, const QList<GameRecord> &games);

struct PendingLines
{
    QList<GameRecord> games;
    QList<QByteArray> gameLines; // each game's line as read, in the same order
    QList<QByteArray> rejected;  // lines that are no game the history can take, in the file's order
};

// Every line of the file, each checked: a game needs every field the history requires, with a value of its
// kind. A game written without a key (by an older version) gets one made from its line, so that the same
// line always gives the same key.
PendingLines readPending(const QString &path);

// Adds the lines at the end of the file; false when it cannot be written.
bool appendLines(const QString &path, const QList<QByteArray> &lines);

// What the writers of this process could keep nowhere when they ended, for the player; empty when nothing
// was lost. Each call empties it.
QString takeLostAtEnd();
void noteLostAtEnd(const QString &text);

} // namespace records
