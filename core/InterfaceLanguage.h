#pragma once

#include <QString>

// The language the player chose in the options dialog: "auto" (the desktop's) or one of
// platform::interfaceLanguages(). Kept in ivok2.conf (TrainingFilePath()), beside the training switch, so that
// the 68-byte record keeps its bytes.
inline constexpr char AutomaticLanguage[] = "auto";

// "auto" when the file or its entry is missing or cannot be read.
QString LoadInterfaceLanguage(const QString &path);
// False when the file could not be written. A player who never leaves "auto" gets no file.
bool SaveInterfaceLanguage(const QString &path, const QString &language);
