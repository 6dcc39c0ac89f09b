#pragma once

#include <QStringList>

// Where Qt's own translations are looked for: Qt's translations folder (Debian's
// qt6-translations-l10n installs there), then a "translations" folder beside the program, as
// its portable copy carries one.
QStringList QtTranslationFolders();

// Qt's own texts in Ukrainian, as the program's are: the buttons of message boxes ("Так",
// "Ні"), the file dialogs and the calendar, from the first of `folders` holding qtbase_uk.qm.
// Dates and the calendar follow Ukrainian conventions; numbers keep the C conventions, which
// the program writes them in whatever the locale. Call once the application object exists.
// False when no translation was found: Qt's texts stay English.
bool SpeakUkrainian(const QStringList& folders = QtTranslationFolders());
