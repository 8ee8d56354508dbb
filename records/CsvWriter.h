#pragma once

#include "records/GameRecord.h"

#include <QByteArray>
#include <QList>

class QIODevice;

namespace records {

// One field of a CSV line: quoted, with its quotes doubled, where it holds a comma, a quote or a line break.
QByteArray csvField(const QString &text);

// The header line and one line per record, UTF-8, lines ended by CR LF; false when the device refused a write.
bool writeCsv(QIODevice &device, const QList<GameRecord> &records);

} // namespace records
