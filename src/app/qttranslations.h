#pragma once

#include <QString>

// Qt's own texts (the buttons of standard dialogs, the file dialog's labels, the context
// menus of text fields) in Polish, whatever the system's language: the program speaks
// Polish only. Loads Qt's catalogue qtbase_pl from folder, or from Qt's translations
// folder when folder is empty (Debian: qt6-translations-l10n). Needs a
// QCoreApplication, which owns the catalogue. False when none was found: the texts
// stay English then.
bool InstallQtTranslations(const QString &folder = QString());
