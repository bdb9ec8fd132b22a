// Qt's own texts in Chinese: the file and colour dialogs, the standard
// buttons, the media and web widgets' texts, and the web engine's own pages
// (error pages) in the engine's Chinese.
#pragma once

#include <QApplication>

namespace gui {

// Installs the Chinese catalogues of Qt (from the system's Qt translations
// folder, package qt6-translations-l10n) into the application, makes Chinese
// the default locale of Qt's widgets (sizes and dates in the file dialog) and
// asks the web engine for Chinese. Called once, after the QApplication is made and
// before the first web view. Returns the number of catalogues installed (0
// when the translations are not on the system: Qt's texts stay English).
int installTranslations(QApplication& app);

}  // namespace gui
