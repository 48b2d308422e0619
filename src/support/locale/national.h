// National: the program's texts in Japanese or English from one numbered string table.
//
// The table is compiled into the program (resources/national.tsv.in). Relative text number r has
// its Japanese text at id 1000 + r and its English text at id 1100 + r; the language is chosen once
// per run from the system language and the "/e" switch. Only the about box and its enquiry form
// follow the choice; every other window of the editor is Japanese.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace ksn {

class National {
public:
    // The language bases NationalBase takes.
    static constexpr qint32 kJapanese = 1000;
    static constexpr qint32 kEnglish = 1100;

    // The text of one absolute id of the table; nothing when the table has none.
    static std::optional<QString> LoadResString(qint32 id);
    // The Windows primary language number of a locale's language (Japanese is 17); 0 for a
    // language the table has no texts for.
    static int primaryLanguage(const QLocale& locale);
    // The base chosen for a system locale and the program's arguments taken as one text: Japanese
    // when the system's primary language is Japanese and the arguments, in lower case, nowhere hold
    // "/e"; English otherwise.
    static qint32 chooseBase(const QLocale& system, const QString& arguments);

    // What InitNational reads. By default the process's arguments without the program's own name,
    // and the system locale; a caller that knows better (a test, say) sets them before the choice.
    void setArguments(const QStringList& arguments) { arguments_ = arguments; }
    void setSystemLocale(const QLocale& locale) { locale_ = locale; }

    // Chooses the language; NationalBase is set once and never changes afterwards.
    void InitNational();
    // The text of relative number r in the chosen language (choosing it first when that has not
    // happened yet); the empty text when the table has none.
    QString GetNationalString(qint32 r);
    // 0 before the choice, then kJapanese or kEnglish.
    qint32 NationalBase() const { return base_; }

private:
    qint32 base_ = 0;
    std::optional<QStringList> arguments_;
    std::optional<QLocale> locale_;
};

}  // namespace ksn
