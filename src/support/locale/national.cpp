#include "support/locale/national.h"

#include "support/text/numtext.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <limits>

namespace ksn {

namespace {

// Read once from the compiled-in table and never changed afterwards.
const QHash<qint32, QString>& table() {
    static const QHash<qint32, QString> entries = [] {
        QHash<qint32, QString> out;
        QFile file(QStringLiteral(":/national/national.tsv"));
        if (!file.open(QIODevice::ReadOnly)) return out;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString& line : text.split(u'\n')) {
            if (line.startsWith(u'#')) continue;
            const qsizetype tab = line.indexOf(u'\t');
            if (tab <= 0) continue;
            bool ok = false;
            const qint32 id = line.left(tab).toInt(&ok);
            QString value = line.mid(tab + 1);
            if (value.endsWith(u'\r')) value.chop(1);
            if (ok) out.insert(id, value);
        }
        return out;
    }();
    return entries;
}

// LANG_JAPANESE: the low byte of a Japanese system's default language identifier.
constexpr int kLangJapanese = 0x11;
constexpr int kLangEnglish = 0x09;

}  // namespace

std::optional<QString> National::LoadResString(qint32 id) {
    const auto& t = table();
    const auto it = t.constFind(id);
    if (it == t.constEnd()) return std::nullopt;
    return *it;
}

int National::primaryLanguage(const QLocale& locale) {
    switch (locale.language()) {
        case QLocale::Japanese:
            return kLangJapanese;
        case QLocale::English:
            return kLangEnglish;
        default:
            return 0;
    }
}

qint32 National::chooseBase(const QLocale& system, const QString& arguments) {
    const qint32 base = static_cast<qint32>(leadingNumber(LoadResString(11).value_or(QString())));
    const qint32 step = static_cast<qint32>(leadingNumber(LoadResString(12).value_or(QString())));
    int lang = primaryLanguage(system);
    if (arguments.toLower().contains(QStringLiteral("/e"))) lang = 0;
    return lang == kLangJapanese ? base : base + step;
}

void National::InitNational() {
    // The choice is made once per run; a second call finds it made.
    if (base_ != 0) return;
    QStringList args;
    if (arguments_) {
        args = *arguments_;
    } else if (QCoreApplication::instance()) {
        args = QCoreApplication::arguments();
        if (!args.isEmpty()) args.removeFirst();
    }
    base_ = chooseBase(locale_.value_or(QLocale::system()), args.join(u' '));
}

QString National::GetNationalString(qint32 r) {
    if (base_ == 0) InitNational();
    const qint64 id = qint64(r) + base_;
    if (id < 0 || id > std::numeric_limits<qint32>::max()) return {};
    return LoadResString(static_cast<qint32>(id)).value_or(QString());
}

}  // namespace ksn
