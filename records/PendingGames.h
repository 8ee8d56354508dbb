#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QString>

namespace records {

// Games the history could not take before the program ended wait in a small file beside it
// (history.pending, one game a line) until the next start merges them in.
QString pendingPath(const QString &historyPath);

// Adds the games at the end of the file; false when the file cannot be written.
bool appendPending(const QString &path, const QList<GameRecord> &games);

// Every game the file holds; a line that is no game (cut short by a crash) is passed over.
QList<GameRecord> readPending(const QString &path);

} // namespace records
