// Qt's own texts (the buttons of message and input boxes, the file and folder dialogs, the text
// boxes' context menus) in Japanese, as the rest of the editor's windows are.
#pragma once

#include <QString>

namespace ksn {

// The base name of Qt's Japanese translation of its own texts, looked for in Qt's translations
// folder (QLibraryInfo::TranslationsPath).
inline constexpr char kQtJapaneseCatalog[] = "qtbase_ja";

// Installs Qt's Japanese translation into the running application, whatever the system language,
// and makes Japanese the default locale (the file types the file dialog lists; its sizes and
// dates follow the system's locale, as the about box's language does). Returns false, leaving Qt's texts
// and the locale as they are, when the translation cannot be found or read;
// `folder` (empty: Qt's translations folder) is where it is looked for. Call once, after the
// application object is made; the translator lives as long as the application.
bool installQtJapanese(const QString& folder = {});

// Whether Qt's own button texts come out translated, by whichever translator.
bool qtTextsTranslated();

}  // namespace ksn
