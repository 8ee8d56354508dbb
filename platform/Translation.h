#pragma once

class QCoreApplication;

namespace platform {

// Makes Qt's own texts (the file dialog's buttons and the like) Japanese, like the rest of the game, whatever
// the locale. False when Qt's translation is not installed: those texts then stay English.
bool loadQtTranslation(QCoreApplication &app);

} // namespace platform
