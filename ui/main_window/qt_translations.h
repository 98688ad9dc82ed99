// Qt's own texts in Japanese: the file and print dialogs, the edit boxes' menus and the
// other standard texts the toolkit writes, in a program whose interface is Japanese
// whatever the system's language.
#ifndef KORVANE_UI_MAIN_WINDOW_QT_TRANSLATIONS_H
#define KORVANE_UI_MAIN_WINDOW_QT_TRANSLATIONS_H

namespace ui {

// Installs Qt's Japanese translation (qtbase_ja from Qt's translations folder, Debian's
// qt6-translations-l10n) into the running application, once. False when it is not there:
// the program then goes on with Qt's English texts.
bool InstallQtTranslations();

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_QT_TRANSLATIONS_H
