#include "mainwindow/qtjapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace ksn {

namespace {

// Qt's translation, with the file types of the file dialog's list, which it lacks (Qt moved them
// to another context after the translation was made).
class QtJapanese : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
        const QString t = QTranslator::translate(context, sourceText, disambiguation, n);
        if (!t.isEmpty() || !context || !sourceText) return t;
        static const struct {
            const char* context;
            const char* english;
            const char16_t* japanese;
        } missing[] = {{"QAbstractFileIconProvider", "Drive", u"ドライブ"},
                       {"QAbstractFileIconProvider", "Folder", u"フォルダ"},
                       {"QAbstractFileIconProvider", "Shortcut", u"ショートカット"},
                       {"QAbstractFileIconProvider", "Alias", u"エイリアス"},
                       {"QAbstractFileIconProvider", "Unknown", u"不明"}};
        for (const auto& m : missing)
            if (std::strcmp(context, m.context) == 0 && std::strcmp(sourceText, m.english) == 0)
                return QString::fromUtf16(m.japanese);
        return t;
    }
};

}  // namespace

bool installQtJapanese(const QString& folder) {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    auto* translator = new QtJapanese(app);
    const QString where = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator->load(QString::fromLatin1(kQtJapaneseCatalog), where) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // The file dialog's sizes, dates and file type names follow the default locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return true;
}

bool qtTextsTranslated() {
    // Qt names its standard buttons in this context; "Cancel" is one every translation changes.
    return QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel");
}

}  // namespace ksn
