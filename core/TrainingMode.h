#pragma once

#include <QString>

// Whether each start lets the staircase choose the symbol count. It is kept in a file of its own beside the
// settings file, so that the 68-byte record keeps its bytes.
extern bool TrainingMode;

// ivok2.conf, in the directory of the file every settings save writes.
QString TrainingFilePath();
// Off when the file or its entry is missing or cannot be read.
bool LoadTrainingMode(const QString &path);
// False when the file could not be written. A player who never turns training on gets no file.
bool SaveTrainingMode(const QString &path, bool on);
