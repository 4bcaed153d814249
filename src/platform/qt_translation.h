// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_TRANSLATION_H_
#define SPRAVKA_PLATFORM_QT_TRANSLATION_H_

class QCoreApplication;

namespace spravka {

// Installs Qt's own Russian texts (its line edits' context menu, its
// standard dialogs) into `app`, whatever the user's language: the window is
// Russian throughout. Taken from the "translations" folder beside the
// program when it ships one (Windows: "qtbase_ru.qm", or the "qt_ru.qm"
// that windeployqt gathers), else from where the Qt libraries keep their
// translations (on Debian the package qt6-translations-l10n). False when
// none is found: Qt's texts then stay English.
bool InstallQtTranslation(QCoreApplication* app);

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_TRANSLATION_H_
